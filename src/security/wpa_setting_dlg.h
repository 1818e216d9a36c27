// The security settings dialog. Its two static operations start and stop the authentication
// worker without showing the dialog.
#pragma once

namespace kw {

class CWpaSettingDlg {
public:
    // Stops a running worker, then starts a new one from the stored settings.
    static void StartAuthentication();
    // Stops the running worker, if any; restarts Zero Configuration when starting stopped it.
    static void StopAuthentication();
};

}  // namespace kw
