// Each test of the framework starts with an empty message queue and notification area, in
// virtual time, with its own state root.
#pragma once

#include "platform/shell/menu.h"
#include "platform/shell/notify_icon.h"
#include "platform/ui/window.h"
#include "tests/support/test_env.h"

namespace kwtest {

class UiTest : public IsolatedTest {
protected:
    void SetUp() override {
        IsolatedTest::SetUp();
        kw::ui::ResetMessageQueue();
        kw::shell::ResetNotificationArea();
        kw::shell::ForgetMenuTemplates();
    }
    void TearDown() override {
        kw::ui::ResetMessageQueue();
        IsolatedTest::TearDown();
    }
};

}  // namespace kwtest
