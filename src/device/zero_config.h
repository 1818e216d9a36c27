// Coexistence with the system's Zero Configuration service, which may own the adapter instead of
// this program: take the adapter over when it is opened, notice when the service takes it back,
// let the user reclaim it, and hand it back at exit or removal.
#pragma once

namespace kw {

namespace ui {
class CWnd;
}

// Service status codes.
inline constexpr int kZeroConfigIdle = 0;
inline constexpr int kZeroConfigInControl = 1;
inline constexpr int kZeroConfigLeavesAlone = 2;

// What the main window does for the tracker.
class IZeroConfigHost {
public:
    virtual ~IZeroConfigHost() = default;
    // The service took the adapter: tray icon 4, open dialogs closed, main window hidden.
    virtual void OnServiceTookAdapter() = 0;
    virtual void RestoreStoredSettings() = 0;
};

class CZeroConfigTracker {
public:
    explicit CZeroConfigTracker(IZeroConfigHost& host) : host_(host) {}

    // Part of opening an adapter; returns true when the service still controls it (the caller
    // shows tray icon 4), false after the stored settings were restored.
    bool TakeOverAdapter();
    // Follows the service status; returns the control state.
    int TrackZeroConfig();
    // The timer's share; true ends the tick.
    bool Tick();
    // From "Open Utility Window" while the service controls the adapter.
    void ReclaimPrompt(const ui::CWnd* owner);

    int ControlState() const { return controlState_; }
    void ResetControlState() { controlState_ = -1; }

private:
    void GiveBackSavedStatus();

    IZeroConfigHost& host_;
    int controlState_ = -1;
};

// At exit, after the windows were closed.
void HandBackAdapter();
// When the adapter was removed.
void HandBackOnRemoval();
// The status read when the adapter was opened; -1 after a removal.
int SavedZeroConfigStatus();

}  // namespace kw
