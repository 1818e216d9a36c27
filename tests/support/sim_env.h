// A test against the simulated world: a private state root and virtual time, a world file, the
// configuration defaults, the store pointed at the first adapter, and the call log at hand.
#pragma once

#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "sim/control.h"
#include "platform/text.h"
#include "src/config/program_config.h"
#include "src/device/adapter_context.h"
#include "src/device/identity.h"
#include "src/device/kwwlan.h"
#include "src/security/authentication.h"
#include "src/settings/app_key.h"
#include "src/settings/setting_store.h"
#include "tests/support/test_env.h"

namespace kwtest {

inline std::string DefaultWorldFile() { return std::string(KW_TEST_DATA_DIR) + "/DefaultWorld.INI"; }

class SimTest : public IsolatedTest {
protected:
    void SetUp() override {
        IsolatedTest::SetUp();
        char cwd[4096];
        startDirectory_ = ::getcwd(cwd, sizeof cwd) ? cwd : "/";
        kw::sim::Reset();
        kw::sim::KeepCallLog(true);
        ASSERT_TRUE(kw::sim::LoadWorldFile(DefaultWorldFile()));
        InstallConfig(kw::ProgramConfig{});
        kw::SetRegistryRoot(u"Talvo", u"KWConfig");
        kw::SetReleaseChipMode(u"KW7100");
        kw::SetAdapterChipModel(u"");
        kw::SetAdapterKey("0007");
        kw::SetOperationMode(0);
        kw::SetDeviceKind(1);
        kw::SetClassKeyAccessFlag(0);
        kw::ResetAdapterContext();
    }

    void TearDown() override {
        kw::StopAuthentication();
        ::KwCloseAdapter(kw::Adapter());
        kw::ResetAdapterContext();
        kw::sim::Reset();
        kw::SetReleaseChipMode(u"GENERAL");
        kw::SetAdapterChipModel(u"");
        kw::SetAdapterKey("");
        kw::SetOperationMode(0);
        // Authentication makes the program folder current; leave the temporary one.
        if (::chdir(startDirectory_.c_str()) != 0) ADD_FAILURE() << "cannot return to " << startDirectory_;
        IsolatedTest::TearDown();
    }

    void InstallConfig(const kw::ProgramConfig& config) {
        kw::ProgramPaths paths;
        paths.directory = root_.path() + "/";
        paths.programName = "KWConfig";
        kw::InstallProgramConfig(config, paths);
    }

    // Opens the first adapter of the default world into the process-wide context.
    void OpenAdapter(const char* deviceName = "\\DEVICE\\{5A1C7100-3E2B-4D61-9A07-6B5771000001}") {
        AdapterContext* ctx = kw::Adapter();
        std::strncpy(ctx->deviceName, deviceName, sizeof ctx->deviceName - 1);
        ASSERT_NE(::KwOpenAdapter(ctx), 0);
        kw::sim::ClearCallLog();
    }

    static std::vector<std::string> Log() { return kw::sim::CallLog(); }
    // The lines of the log that start with prefix.
    static std::vector<std::string> Calls(const std::string& prefix) {
        std::vector<std::string> lines;
        for (const auto& line : kw::sim::CallLog()) {
            if (line.rfind(prefix, 0) == 0) lines.push_back(line);
        }
        return lines;
    }
    static bool Called(const std::string& line) {
        auto log = kw::sim::CallLog();
        return std::find(log.begin(), log.end(), line) != log.end();
    }

    static std::u16string Stored(std::u16string_view key, int mode = 0) { return kw::ReadSettingText(mode, key); }

private:
    std::string startDirectory_;
};

}  // namespace kwtest
