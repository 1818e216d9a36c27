// The main window run as start-up runs it (tray icon created and hidden, the window modal), in
// virtual time against a small world written by the test, with a scripted user. Probes queued
// between ticks read the window as the user would see it.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/shell/menu.h"
#include "platform/shell/notify_icon.h"
#include "platform/ui/test_driver.h"
#include "src/config/app_flags.h"
#include "src/app/kwconfig_app.h"
#include "src/app/tray_icon.h"
#include "src/mainwnd/control_ids.h"
#include "src/mainwnd/kwconfig_dlg.h"
#include "tests/support/sim_env.h"

namespace kwtest {

// One adapter that the configuration below matches; a test adds the networks that show its point.
inline const std::string kOneAdapter =
    "[Adapter1]\n"
    "DeviceName=\\DEVICE\\KWTEST1\n"
    "Description=Test Adapter\n"
    "InstanceKey=0007\n"
    "MatchingDeviceId=USB\\VID_6B57&PID_7100\n"
    "SupportedRates=82 84 8B 96 0C 12 18 24 30 48 60 6C\n";

inline std::string Network(int number, const std::string& keys) {
    return "[Network" + std::to_string(number) + "]\n" + keys;
}

// An open infrastructure network that the restore's empty SSID joins.
inline const std::string kOpenNetwork =
    Network(1, "SSID=Open1\nBSSID=02 1A 00 00 00 01\nFrequency=2437000\nRSSI=-72\nQuality=50\n");

inline std::string Text(const kw::ui::CDialog& d, int id) { return kw::ToUtf8(d.ItemText(id)); }
inline bool Shown(const kw::ui::CDialog& d, int id) { return d.Item(id) && d.Item(id)->IsVisible(); }
inline bool Enabled(const kw::ui::CDialog& d, int id) { return d.Item(id) && d.Item(id)->IsEnabled(); }
// The picture of the icon in the notification area, 0 when none is there.
inline kw::ui::IconHandle TrayPicture() {
    auto icons = kw::shell::NotificationIcons();
    return icons.empty() ? 0 : icons.back().icon;
}

class MainWindowTest : public SimTest {
protected:
    void SetUp() override {
        SimTest::SetUp();
        kw::ui::ResetMessageQueue();
        kw::shell::ResetNotificationArea();
        kw::shell::ForgetMenuTemplates();
        config.matchingDeviceIds[0] = u"USB\\VID_6B57&PID_7100";
        kw::SetStartHidden(true);
    }
    void TearDown() override {
        kw::ui::ResetMessageQueue();
        SimTest::TearDown();
    }

    void World(const std::string& text) { ASSERT_TRUE(kw::sim::LoadWorldText(text)); }

    // Steps 13 to 15 of start-up; returns when the window's modal loop ends (Exit, or the
    // scripted user has nothing more to do).
    void Run() {
        InstallConfig(config);
        kw::CKWConfigApp app(nullptr);
        app.RunMainWindow();
    }

    using Probe = std::function<std::string(kw::CKWConfigDlg&)>;
    // Queues `ticks` timer periods, appending what probe reads after each to trace.
    void Each(int ticks, const Probe& probe) {
        for (int i = 0; i < ticks; ++i) {
            user.Tick(1);
            Read(probe);
        }
    }
    // Queues one probe now.
    void Read(const Probe& probe) {
        user.Run([this, probe](kw::ui::CDialog& d) { trace.push_back(probe(Main(d))); });
    }
    // Queues a step on the main window.
    void Do(const std::function<void(kw::CKWConfigDlg&)>& step) {
        user.Run([step](kw::ui::CDialog& d) { step(Main(d)); });
    }

    // The main window, also while a dialog opened from it is the active one.
    static kw::CKWConfigDlg& Main(kw::ui::CDialog&) { return dynamic_cast<kw::CKWConfigDlg&>(*kw::ui::MainWindow()); }
    std::vector<std::string> Events(const std::string& prefix) const {
        std::vector<std::string> lines;
        for (const auto& line : user.Lines()) {
            if (line.rfind(prefix, 0) == 0) lines.push_back(line);
        }
        return lines;
    }

    kw::ProgramConfig config;
    kw::ui::CTestDriver user;
    std::vector<std::string> trace;
};

}  // namespace kwtest
