#include "src/app/kwconfig_app.h"

#include "platform/clock.h"
#include "platform/registry.h"
#include "platform/text.h"
#include "src/config/app_flags.h"
#include "src/config/program_config.h"
#include "src/app/program_title.h"
#include "src/app/tray_icon.h"
#include "src/device/adapter_context.h"
#include "src/device/identity.h"
#include "src/device/kwwlan.h"
#include "src/lang/language_table.h"
#include "src/mainwnd/kwconfig_dlg.h"
#include "src/mainwnd/control_ids.h"
#include "src/settings/app_key.h"

namespace kw {

namespace {
constexpr char16_t kExitFlag[] = u"EXIT";
}

CKWConfigApp::CKWConfigApp(WindowFinder findWindow) : findWindow_(std::move(findWindow)) {}

void CKWConfigApp::ParseParam(std::u16string_view param, bool isFlag, bool /*isLast*/) {
    if (isFlag && ToUpperAscii(param) == kExitFlag) exitRequested_ = true;
}

void CKWConfigApp::ParseCommandLine(const std::vector<std::string>& args) {
    for (size_t i = 1; i < args.size(); ++i) {
        std::u16string arg = FromUtf8(args[i]);
        bool isFlag = !arg.empty() && (arg[0] == u'/' || arg[0] == u'-');
        ParseParam(isFlag ? std::u16string_view(arg).substr(1) : std::u16string_view(arg), isFlag, i + 1 == args.size());
    }
}

bool CKWConfigApp::StartUp(const std::vector<std::string>& args, const std::string& executablePath) {
    if (QueryWL_IsWindows2000() && IsAdmin()) NonAdminUserEnabler();
    ResetAdapterContext();
    SetStartHidden(true);
    ParseCommandLine(args);

    ProgramPaths paths = PathsOfProgram(executablePath);
    ProgramConfig config = ReadProgramConfig(paths.stem + "INI");
    InstallProgramConfig(config, paths);
    SetReleaseChipMode(config.releaseChipMode);
    SetRegistryRoot(config.companyAbbrev, FromUtf8(paths.programName));

    const std::u16string& languageFile = CheckOSWinNT() ? config.mlUnicodeFile : config.mlSbcsFile;
    Language().Load(paths.directory + ToUtf8(languageFile), kLanguageIndexSection);
    Language().Select(static_cast<int>(ReadChipDword(kValueLanguageId).value_or(1)));

    std::u16string recordedTitle = ReadChipText(kValueProgramTitle).value_or(u"");
    currentTitle_ = StartTitle();
    if (!SettleSingleInstance(recordedTitle)) return false;

    reg::WriteGroup clearedRequests;
    WriteChipDword(kValueExitRequest, 0);
    WriteChipDword(kValueWakeUpRequest, 0);
    return true;
}

bool CKWConfigApp::SettleSingleInstance(const std::u16string& recordedTitle) {
    if (exitRequested_) {
        WriteChipDword(kValueExitRequest, 1);
        return false;
    }
    if (recordedTitle != currentTitle_) {
        WriteChipDword(kValueExitRequest, 1);
        clock::SleepMs(kInstanceHandOverMs);
        WriteChipText(kValueProgramTitle, currentTitle_);
        return true;
    }
    if (findWindow_ && findWindow_(recordedTitle)) {
        WriteChipDword(kValueWakeUpRequest, 1);
        return false;
    }
    WriteChipDword(kValueExitRequest, 1);
    clock::SleepMs(kInstanceHandOverMs);
    return true;
}

void CKWConfigApp::RunMainWindow(const std::function<void(ui::CWnd& mainWindow)>& afterCreate) {
    RegisterTrayMenu();
    CTrayIcon tray;
    CKWConfigDlg mainWindow(tray);
    ui::SetMainWindow(&mainWindow);
    tray.CreateIcon(GetText(u"MP_Small_Icon_Tip", u"KWWlan -- Wireless LAN Configuration Tool"),
                    ui::LoadIcon(mainwnd::kTrayIconResources[mainwnd::kTrayConnectedA]), kCmdOpenUtilityWindow, false);
    tray.LocaliseMenuTexts();
    // The icon shows only once an adapter is open.
    tray.HideIcon();
    if (afterCreate) afterCreate(mainWindow);
    mainWindow.DoModal();
    tray.DestroyIcon();
}

}  // namespace kw
