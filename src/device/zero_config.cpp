#include "src/device/zero_config.h"

#include <atomic>

#include "platform/ui/message_box.h"
#include "platform/ui/types.h"
#include "src/config/program_config.h"
#include "src/device/adapter_context.h"
#include "src/device/identity.h"
#include "src/device/kwwlan.h"
#include "src/lang/language_table.h"

namespace kw {

namespace {

std::atomic<int> g_savedStatus{-1};
constexpr int kOsCodeKeepsStatus = 7;
constexpr int kOsCodeRestartsService = 8;

bool ControlsAdapter(int status) { return status == kZeroConfigIdle || status == kZeroConfigInControl; }
bool MayTouchService() { return ClassKeyAccessFlag() != 1; }

void PassSavedStatus() { SetWL_WZCStatus(Adapter(), g_savedStatus); }

// Gives the saved status back to the service (and, where the system needs it, once more).
void ReturnSavedStatus() {
    if (ControlsAdapter(g_savedStatus)) {
        PassSavedStatus();
    } else if (KW_GetOSVersion() == kOsCodeKeepsStatus) {
        g_savedStatus = kZeroConfigInControl;
        PassSavedStatus();
    }
    if (KW_GetOSVersion() == kOsCodeKeepsStatus && QueryWL_CheckWZCStatus(Adapter()) != g_savedStatus) {
        PassSavedStatus();
    }
}

std::u16string Message1() {
    return GetText(u"MP_STA_WZCMsg_1", u"Wireless LAN is Controlled by the Windows Zero Configuration.");
}
std::u16string MessageTitle() { return GetText(u"MP_STA_WZCMsg_Title", u"Wireless Zero Configuration"); }

}  // namespace

bool CZeroConfigTracker::TakeOverAdapter() {
    int status = QueryWL_CheckWZCStatus(Adapter());
    g_savedStatus = status;
    if (ControlsAdapter(status) && MayTouchService()) SetWL_WZCStatus(Adapter(), kZeroConfigIdle);
    controlState_ = -1;
    if (TrackZeroConfig() == kZeroConfigInControl) return true;
    host_.RestoreStoredSettings();
    return false;
}

int CZeroConfigTracker::TrackZeroConfig() {
    int status = QueryWL_CheckWZCStatus(Adapter());
    if (status == kZeroConfigInControl) {
        if (controlState_ != kZeroConfigInControl) {
            controlState_ = kZeroConfigInControl;
            KWStopWZCService();
            SetWL_KWUseKWXOidState(Adapter(), 0);
        }
    } else if (status == kZeroConfigIdle || status == kZeroConfigLeavesAlone) {
        if (controlState_ != status) {
            controlState_ = status;
            SetWL_KWUseKWXOidState(Adapter(), Config().kwxOidMode);
        }
    }
    return controlState_;
}

bool CZeroConfigTracker::Tick() {
    if (controlState_ == kZeroConfigInControl) {
        switch (TrackZeroConfig()) {
            case kZeroConfigIdle:
                SetWL_KWUseKWXOidState(Adapter(), Config().kwxOidMode);
                host_.RestoreStoredSettings();
                return false;
            case kZeroConfigLeavesAlone:
                host_.RestoreStoredSettings();
                return false;
            case kZeroConfigInControl:
                return true;
            default:
                return false;
        }
    }
    if (TrackZeroConfig() != kZeroConfigInControl) return false;
    host_.OnServiceTookAdapter();
    SetWL_KWUseKWXOidState(Adapter(), 0);
    if (MayTouchService()) GiveBackSavedStatus();
    return true;
}

void CZeroConfigTracker::GiveBackSavedStatus() { ReturnSavedStatus(); }

void CZeroConfigTracker::ReclaimPrompt(const ui::CWnd* owner) {
    if (controlState_ != kZeroConfigInControl) return;
    if (!MayTouchService()) {
        ui::ShowMessageBox(owner, Message1(), MessageTitle(), ui::MessageBoxButtons::Ok, ui::MessageBoxIcon::Information);
        return;
    }
    std::u16string question = Message1() + u"\n" +
                              GetText(u"MP_STA_WZCMsg_2", u"Do you want to use KWWLan as the Wireless LAN configuration tool?");
    int answer = ui::ShowMessageBox(owner, question, MessageTitle(), ui::MessageBoxButtons::YesNo,
                                    ui::MessageBoxIcon::Question);
    if (answer == ui::IDYES && QueryWL_CheckWZCStatus(Adapter()) == kZeroConfigInControl) {
        SetWL_WZCStatus(Adapter(), kZeroConfigIdle);
    }
}

void HandBackAdapter() {
    if (!MayTouchService()) return;
    if (KW_GetOSVersion() == kOsCodeRestartsService) {
        KWStartWZCService();
        return;
    }
    ReturnSavedStatus();
}

void HandBackOnRemoval() {
    if (ControlsAdapter(g_savedStatus) && MayTouchService()) PassSavedStatus();
    g_savedStatus = -1;
}

int SavedZeroConfigStatus() { return g_savedStatus; }

}  // namespace kw
