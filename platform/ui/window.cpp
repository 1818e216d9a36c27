#include "platform/ui/window.h"

#include <algorithm>
#include <deque>
#include <limits>
#include <mutex>

#include "platform/clock.h"
#include "platform/shell/window_lookup.h"
#include "platform/ui/ui_thread.h"

namespace kw::ui {

namespace {

struct Posted {
    WindowHandle target = 0;
    unsigned msg = kMsgNull;
    uintptr_t wparam = 0;
    intptr_t lparam = 0;
    std::function<void(CWnd&)> action;
};

// The user-interface thread's windows. Touched only on that thread.
struct ThreadWindowsRecord {
    std::map<WindowHandle, CWnd*> windows;  // handles grow, so this is creation order
    WindowHandle nextHandle = 1;
    CWnd* main = nullptr;  // named before it is created, as the program does
    WindowHandle foreground = 0;
    uint64_t zCounter = 0;
    // Virtual time of the timers: moved only by queued ticks, so work on other threads that
    // sleeps in virtual time cannot make a timer fire.
    uint64_t virtualTimerNow = 0;
};

ThreadWindowsRecord& Thread() {
    static ThreadWindowsRecord record;
    return record;
}

// Messages and ticks may be queued from any thread.
struct QueueRecord {
    std::mutex mutex;
    std::deque<Posted> messages;
    uint64_t pendingTicks = 0;
};

QueueRecord& Queue() {
    static QueueRecord record;
    return record;
}

uint64_t TimerNow() { return clock::IsVirtual() ? Thread().virtualTimerNow : clock::NowMs(); }

bool Enqueue(Posted posted) {
    if (posted.target == 0) return false;
    std::lock_guard lock(Queue().mutex);
    Queue().messages.push_back(std::move(posted));
    return true;
}

}  // namespace

// Gives the loop access to the windows' timers.
struct TimerAccess {
    static bool FireEarliestDue();
    static unsigned ShortestPeriod();
    static void MakeAllDue();
    static int64_t MsUntilNext();
};

bool TimerAccess::FireEarliestDue() {
    uint64_t now = TimerNow();
    CWnd* best = nullptr;
    int bestId = 0;
    uint64_t bestDue = std::numeric_limits<uint64_t>::max();
    for (auto& [handle, window] : Thread().windows) {
        for (auto& [id, timer] : window->timers_) {
            if (timer.due <= now && timer.due < bestDue) {
                best = window;
                bestId = id;
                bestDue = timer.due;
            }
        }
    }
    if (!best) return false;
    auto& timer = best->timers_[bestId];
    timer.due = now + timer.period;
    best->WindowProc(kMsgTimer, static_cast<uintptr_t>(bestId), 0);
    return true;
}

unsigned TimerAccess::ShortestPeriod() {
    unsigned shortest = 0;
    for (auto& [handle, window] : Thread().windows) {
        for (auto& [id, timer] : window->timers_) {
            if (shortest == 0 || timer.period < shortest) shortest = timer.period;
        }
    }
    return shortest;
}

void TimerAccess::MakeAllDue() {
    uint64_t now = TimerNow();
    for (auto& [handle, window] : Thread().windows) {
        for (auto& [id, timer] : window->timers_) timer.due = std::min(timer.due, now);
    }
}

int64_t TimerAccess::MsUntilNext() {
    uint64_t now = TimerNow();
    int64_t best = -1;
    for (auto& [handle, window] : Thread().windows) {
        for (auto& [id, timer] : window->timers_) {
            int64_t wait = timer.due <= now ? 0 : static_cast<int64_t>(timer.due - now);
            if (best < 0 || wait < best) best = wait;
        }
    }
    return best;
}

// ---- CWnd ----

CWnd::CWnd() = default;

CWnd::~CWnd() {
    if (Thread().main == this) Thread().main = nullptr;
    // A derived window's hooks are gone by now; forget the window without calling them.
    if (handle_ != 0) {
        timers_.clear();
        Unregister();
    }
}

bool CWnd::Create(std::u16string_view caption, Rect rect, bool visible) {
    if (handle_ != 0) return false;
    caption_ = std::u16string(caption);
    rect_ = rect;
    visible_ = visible;
    if (!Register()) return false;
    OnCreate();
    return true;
}

void CWnd::Destroy() {
    if (handle_ == 0) return;
    timers_.clear();
    OnDestroy();
    Unregister();
}

bool CWnd::Register() {
    if (handle_ != 0) return false;
    auto& thread = Thread();
    handle_ = thread.nextHandle++;
    thread.windows[handle_] = this;
    zOrder_ = ++thread.zCounter;
    PublishCaption();
    return true;
}

void CWnd::Unregister() {
    if (handle_ == 0) return;
    auto& thread = Thread();
    thread.windows.erase(handle_);
    if (thread.foreground == handle_) thread.foreground = 0;
    shell::WithdrawWindow(publishedFile_);
    publishedFile_.clear();
    handle_ = 0;
}

void CWnd::PublishCaption() {
    if (handle_ != 0) publishedFile_ = shell::PublishWindow(handle_, caption_, publishedFile_);
}

void CWnd::SetCaption(std::u16string_view caption) {
    if (caption_ == caption) return;
    caption_ = std::u16string(caption);
    PublishCaption();
}

void CWnd::Show(bool visible) {
    visible_ = visible;
    if (visible) minimized_ = false;
}

void CWnd::MoveTo(int x, int y) {
    rect_.x = x;
    rect_.y = y;
}

void CWnd::Center() {
    rect_.x = kScreen.x + (kScreen.width - rect_.width) / 2;
    rect_.y = kScreen.y + (kScreen.height - rect_.height) / 2;
}

void CWnd::BringToTop() { zOrder_ = ++Thread().zCounter; }

bool CWnd::IsTop() const {
    for (auto& [handle, window] : Thread().windows) {
        if (window != this && window->zOrder_ > zOrder_) return false;
    }
    return handle_ != 0;
}

void CWnd::SetForeground() {
    if (handle_ == 0) return;
    Thread().foreground = handle_;
    BringToTop();
}

bool CWnd::IsForeground() const { return handle_ != 0 && Thread().foreground == handle_; }

int CWnd::SetTimer(int id, unsigned periodMs) {
    if (handle_ == 0) return 0;
    unsigned period = std::max(periodMs, 10u);
    timers_[id] = Timer{period, TimerNow() + period};
    return id;
}

bool CWnd::KillTimer(int id) { return timers_.erase(id) != 0; }

bool CWnd::SetProp(std::u16string_view name, intptr_t value) {
    if (handle_ == 0) return false;
    props_[std::u16string(name)] = value;
    return true;
}

intptr_t CWnd::GetProp(std::u16string_view name) const {
    auto found = props_.find(std::u16string(name));
    return found == props_.end() ? 0 : found->second;
}

intptr_t CWnd::RemoveProp(std::u16string_view name) {
    auto found = props_.find(std::u16string(name));
    if (found == props_.end()) return 0;
    intptr_t value = found->second;
    props_.erase(found);
    return value;
}

std::vector<std::u16string> CWnd::PropNames() const {
    std::vector<std::u16string> names;
    for (auto& [name, value] : props_) names.push_back(name);
    return names;
}

void CWnd::SendMessage(unsigned msg, uintptr_t wparam, intptr_t lparam) {
    if (handle_ != 0) WindowProc(msg, wparam, lparam);
}

bool CWnd::PostCommand(int id) {
    return PostMessage(handle_, kMsgCommand, static_cast<uintptr_t>(id), static_cast<intptr_t>(Notify::Clicked));
}

void CWnd::WindowProc(unsigned msg, uintptr_t wparam, intptr_t lparam) {
    switch (msg) {
        case kMsgCommand:
            OnCommand(static_cast<int>(wparam), static_cast<Notify>(lparam));
            break;
        case kMsgSysCommand:
            OnSysCommand(static_cast<int>(wparam), static_cast<int>(lparam));
            break;
        case kMsgTimer:
            OnTimer(static_cast<int>(wparam));
            break;
        case kMsgClose:
            OnClose();
            break;
        case kMsgEndSession:
            OnEndSession(wparam != 0);
            break;
        default:
            OnMessage(msg, wparam, lparam);
            break;
    }
}

void CWnd::OnSysCommand(int code, int /*position*/) {
    switch (code & 0xFFF0) {
        case kSysCommandMinimize:
            minimized_ = true;
            break;
        case kSysCommandRestore:
            minimized_ = false;
            break;
        case kSysCommandClose:
            SendMessage(kMsgClose);
            break;
        default:
            break;
    }
}

void CWnd::OnClose() { Destroy(); }

// ---- the thread ----

CWnd* FromHandle(WindowHandle handle) {
    auto& windows = Thread().windows;
    auto found = windows.find(handle);
    return found == windows.end() ? nullptr : found->second;
}

std::vector<CWnd*> ThreadWindows() {
    std::vector<CWnd*> result;
    for (auto& [handle, window] : Thread().windows) result.push_back(window);
    return result;
}

void SetMainWindow(CWnd* window) { Thread().main = window; }
CWnd* MainWindow() { return Thread().main; }
CWnd* ForegroundWindow() { return FromHandle(Thread().foreground); }

bool PostMessage(WindowHandle target, unsigned msg, uintptr_t wparam, intptr_t lparam) {
    return Enqueue(Posted{target, msg, wparam, lparam, nullptr});
}

bool PostAction(WindowHandle target, std::function<void(CWnd&)> action) {
    return Enqueue(Posted{target, kMsgAction, 0, 0, std::move(action)});
}

void BroadcastMessage(unsigned msg, uintptr_t wparam, intptr_t lparam) {
    for (CWnd* window : ThreadWindows()) PostMessage(window->Handle(), msg, wparam, lparam);
}

unsigned RegisterWindowMessage(std::u16string_view name) {
    if (name.empty()) return 0;
    static std::mutex mutex;
    static std::map<std::u16string, unsigned> numbers;
    std::lock_guard lock(mutex);
    auto [it, added] = numbers.emplace(std::u16string(name), 0u);
    if (added) it->second = kFirstRegisteredMessage + static_cast<unsigned>(numbers.size()) - 1;
    return it->second;
}

void QueueTicks(uint64_t count) {
    std::lock_guard lock(Queue().mutex);
    Queue().pendingTicks += count;
}

uint64_t PendingTicks() {
    std::lock_guard lock(Queue().mutex);
    return Queue().pendingTicks;
}

int64_t MsUntilNextTimer() { return TimerAccess::MsUntilNext(); }

void ResetMessageQueue() {
    std::lock_guard lock(Queue().mutex);
    Queue().messages.clear();
    Queue().pendingTicks = 0;
}

namespace detail {

namespace {

bool DispatchOnePosted() {
    Posted posted;
    {
        std::lock_guard lock(Queue().mutex);
        if (Queue().messages.empty()) return false;
        posted = std::move(Queue().messages.front());
        Queue().messages.pop_front();
    }
    if (CWnd* window = FromHandle(posted.target)) {
        if (posted.action) {
            posted.action(*window);
        } else {
            window->WindowProc(posted.msg, posted.wparam, posted.lparam);
        }
    }
    return true;
}

bool TakeOneTick() {
    {
        std::lock_guard lock(Queue().mutex);
        if (Queue().pendingTicks == 0) return false;
        --Queue().pendingTicks;
    }
    if (clock::IsVirtual()) {
        unsigned period = TimerAccess::ShortestPeriod();
        if (period == 0) period = kFallbackTickMs;
        Thread().virtualTimerNow += period;
        // The other threads of the timeline run as far as their own sleeps allow meanwhile.
        clock::SleepMs(period);
    } else {
        TimerAccess::MakeAllDue();
    }
    return true;
}

}  // namespace

bool DispatchQueued() {
    return DispatchOnePosted() || TimerAccess::FireEarliestDue() || TakeOneTick();
}

}  // namespace detail

}  // namespace kw::ui
