// Top-level windows of the one user-interface thread: caption, icon, shown / hidden, position,
// foreground and top, named properties, timers, and the messages the thread delivers to them.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/ui/types.h"

namespace kw::ui {

class CWnd {
public:
    CWnd();
    virtual ~CWnd();
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    // A plain window (not a dialog): registered with the thread, hidden unless visible is set.
    bool Create(std::u16string_view caption, Rect rect, bool visible = false);
    // Kills the timers, calls OnDestroy and forgets the window; messages still queued for it are
    // dropped. Safe to call twice.
    void Destroy();

    WindowHandle Handle() const { return handle_; }
    bool IsCreated() const { return handle_ != 0; }

    void SetCaption(std::u16string_view caption);
    const std::u16string& Caption() const { return caption_; }
    void SetIcon(IconHandle icon) { icon_ = icon; }
    IconHandle Icon() const { return icon_; }

    void Show(bool visible);
    bool IsVisible() const { return visible_; }
    bool IsMinimized() const { return minimized_; }

    void Move(Rect rect) { rect_ = rect; }
    // Keeps the size.
    void MoveTo(int x, int y);
    Rect Position() const { return rect_; }
    // Centres on the screen.
    void Center();
    void BringToTop();
    bool IsTop() const;
    void SetForeground();
    bool IsForeground() const;

    // One timer per id; setting an id again restarts it. Returns the id, or 0 when the window is
    // not created. Periods below 10 ms count as 10 ms.
    int SetTimer(int id, unsigned periodMs);
    bool KillTimer(int id);
    bool HasTimer(int id) const { return timers_.count(id) != 0; }

    // Named properties; GetProp gives 0 for a name not set. Names match exactly.
    bool SetProp(std::u16string_view name, intptr_t value);
    intptr_t GetProp(std::u16string_view name) const;
    // Returns the value it had.
    intptr_t RemoveProp(std::u16string_view name);
    std::vector<std::u16string> PropNames() const;

    // Delivers a message now, on the user-interface thread.
    void SendMessage(unsigned msg, uintptr_t wparam = 0, intptr_t lparam = 0);
    // Queues a command message (id, clicked) for this window.
    bool PostCommand(int id);

    // Every message reaches the window here; the default sends each kind to its hook below.
    virtual void WindowProc(unsigned msg, uintptr_t wparam, intptr_t lparam);

protected:
    virtual void OnCreate() {}
    virtual void OnDestroy() {}
    virtual void OnTimer(int /*id*/) {}
    virtual void OnCommand(int /*id*/, Notify /*code*/) {}
    // Default: minimise, restore, and close (which sends the close message).
    virtual void OnSysCommand(int code, int position);
    // Default for a plain window: destroy it.
    virtual void OnClose();
    virtual void OnEndSession(bool /*ending*/) {}
    // Any other message: registered messages, mouse notifications, the null message.
    virtual void OnMessage(unsigned /*msg*/, uintptr_t /*wparam*/, intptr_t /*lparam*/) {}

    // For derived windows that register themselves differently (dialogs).
    bool Register();
    void Unregister();

private:
    friend struct TimerAccess;
    struct Timer {
        unsigned period = 0;
        uint64_t due = 0;
    };
    void PublishCaption();

    WindowHandle handle_ = 0;
    std::u16string caption_;
    IconHandle icon_ = 0;
    bool visible_ = false;
    bool minimized_ = false;
    Rect rect_{0, 0, 300, 200};
    uint64_t zOrder_ = 0;
    std::map<int, Timer> timers_;
    std::map<std::u16string, intptr_t> props_;
    std::string publishedFile_;
};

// ---- the thread's windows and messages ----

// The live window with this handle, or nullptr.
CWnd* FromHandle(WindowHandle handle);
// Every live top-level window of the thread, oldest first.
std::vector<CWnd*> ThreadWindows();

// The process's main window (the one the tray icon talks to). It may be named before it is
// created and stays named until the object is gone.
void SetMainWindow(CWnd* window);
CWnd* MainWindow();
CWnd* ForegroundWindow();

// Queues a message for a window. May be called from any thread. False when the handle is 0.
bool PostMessage(WindowHandle target, unsigned msg, uintptr_t wparam = 0, intptr_t lparam = 0);
// Queues a piece of work to run on the user-interface thread with the window, if the window is
// still alive when its turn comes.
bool PostAction(WindowHandle target, std::function<void(CWnd&)> action);
// Posts the message to every top-level window.
void BroadcastMessage(unsigned msg, uintptr_t wparam = 0, intptr_t lparam = 0);

// The same name gives the same number for the life of the process; 0 for an empty name.
unsigned RegisterWindowMessage(std::u16string_view name);

// ---- time ----

// Queues timer periods to pass (virtual time: the clock moves by the shortest active timer
// period, or kFallbackTickMs when no timer runs; real time: every timer fires at once). The
// modal loop works through them one by one, after the queued messages.
void QueueTicks(uint64_t count);
uint64_t PendingTicks();
constexpr unsigned kFallbackTickMs = 1000;
// Milliseconds until the next timer is due (0: due now), or -1 when no timer runs.
int64_t MsUntilNextTimer();

// Forgets queued messages and ticks (between tests).
void ResetMessageQueue();

}  // namespace kw::ui
