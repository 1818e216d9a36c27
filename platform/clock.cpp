#include "platform/clock.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <set>
#include <tuple>

namespace kw::clock {

struct Participant {
    uint64_t generation = 0;
    bool ended = false;
    Participant* joiner = nullptr;  // waits for this one to end
};

namespace {

// Where virtual time starts: the same in every run, so that transcripts repeat.
constexpr uint64_t kVirtualStartMs = 1'000'000'000;
// The calendar second virtual time starts at (2026-01-01 00:00:00 UTC), for the same reason.
constexpr int64_t kVirtualEpochSeconds = 1'767'225'600;

struct Waiter {
    uint64_t deadline;
    uint64_t order;  // equal deadlines go in the order the threads began to wait
    Participant* who;
    bool operator<(const Waiter& other) const {
        return std::tie(deadline, order) < std::tie(other.deadline, other.order);
    }
};

struct TimelineRecord {
    std::mutex mutex;
    std::condition_variable turnChanged;
    bool active = false;
    uint64_t generation = 0;  // a new one each time virtual time is switched on
    std::atomic<uint64_t> now{0};
    uint64_t nextOrder = 0;
    Participant* running = nullptr;  // the one thread of the timeline that may run
    std::set<Waiter> waiting;
};

TimelineRecord& Timeline() {
    static TimelineRecord record;
    return record;
}

std::atomic<bool> g_virtual{false};

uint64_t RealNowMs() {
    using namespace std::chrono;
    return static_cast<uint64_t>(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

bool TakesPart(const TimelineRecord& t, const Participant* p) {
    return p && t.active && p->generation == t.generation && !p->ended;
}

void Enqueue(TimelineRecord& t, Participant* p, uint64_t deadline) { t.waiting.insert({deadline, t.nextOrder++, p}); }

// The earliest waiting thread runs next; the clock moves to its deadline.
void PassTurn(TimelineRecord& t) {
    t.running = nullptr;
    if (t.waiting.empty()) return;
    Waiter next = *t.waiting.begin();
    t.waiting.erase(t.waiting.begin());
    if (next.deadline > t.now) t.now = next.deadline;
    t.running = next.who;
    t.turnChanged.notify_all();
}

// Gives up the caller's turn (if it has it) and waits until it has it again, or the timeline ends.
void WaitForTurn(TimelineRecord& t, std::unique_lock<std::mutex>& lock, Participant* self) {
    if (t.running == self || t.running == nullptr) PassTurn(t);
    uint64_t generation = t.generation;
    t.turnChanged.wait(lock, [&] { return t.running == self || t.generation != generation; });
}

// The calling thread's place in the timeline. A thread that ends leaves it, so a program thread
// joined while the process exits can still run to its end.
struct SelfRecord {
    std::shared_ptr<Participant> participant;
    ~SelfRecord();
    Participant* get() const { return participant.get(); }
    explicit operator bool() const { return participant != nullptr; }
    Participant* operator->() const { return participant.get(); }
    SelfRecord& operator=(std::shared_ptr<Participant> p) {
        participant = std::move(p);
        return *this;
    }
    void reset() { participant.reset(); }
};
thread_local SelfRecord t_self;

void Leave(const std::shared_ptr<Participant>& p) {
    auto& t = Timeline();
    std::lock_guard lock(t.mutex);
    p->ended = true;
    if (!t.active || p->generation != t.generation) return;
    if (p->joiner) Enqueue(t, p->joiner, t.now);
    p->joiner = nullptr;
    if (t.running == p.get() || t.running == nullptr) PassTurn(t);
}

SelfRecord::~SelfRecord() {
    if (participant && !participant->ended) Leave(participant);
}

}  // namespace

uint64_t NowMs() { return g_virtual ? Timeline().now.load() : RealNowMs(); }

void SleepMs(uint64_t ms) {
    if (!g_virtual) {
        std::this_thread::sleep_for(std::chrono::milliseconds(ms));
        return;
    }
    auto& t = Timeline();
    std::unique_lock lock(t.mutex);
    Participant* self = t_self.get();
    if (!TakesPart(t, self)) {
        t.now += ms;
        return;
    }
    Enqueue(t, self, t.now + ms);
    WaitForTurn(t, lock, self);
}

void UseVirtualTime(bool on) {
    auto& t = Timeline();
    std::unique_lock lock(t.mutex);
    if (!on) {
        t.active = false;
        ++t.generation;
        t.waiting.clear();
        t.running = nullptr;
        g_virtual = false;
        t.turnChanged.notify_all();
        return;
    }
    if (!t.active) {
        t.active = true;
        ++t.generation;
        t.now = kVirtualStartMs;
        g_virtual = true;
    }
    if (TakesPart(t, t_self.get())) return;
    t_self = std::make_shared<Participant>();
    t_self->generation = t.generation;
    if (t.running == nullptr) {
        t.running = t_self.get();
        return;
    }
    Enqueue(t, t_self.get(), t.now);
    WaitForTurn(t, lock, t_self.get());
}

bool IsVirtual() { return g_virtual; }

void Advance(uint64_t ms) {
    if (g_virtual) SleepMs(ms);
}

int64_t WallSeconds() {
    if (g_virtual) return kVirtualEpochSeconds + static_cast<int64_t>((Timeline().now - kVirtualStartMs) / 1000);
    using namespace std::chrono;
    return static_cast<int64_t>(duration_cast<seconds>(system_clock::now().time_since_epoch()).count());
}

// ---- Thread ----

Thread::Thread(std::function<void()> body) {
    if (!g_virtual) {
        thread_ = std::thread(std::move(body));
        return;
    }
    auto p = std::make_shared<Participant>();
    {
        auto& t = Timeline();
        std::lock_guard lock(t.mutex);
        p->generation = t.generation;
        Enqueue(t, p.get(), t.now);
        if (t.running == nullptr) PassTurn(t);
    }
    participant_ = p;
    thread_ = std::thread([p, body = std::move(body)] {
        t_self = p;
        {
            auto& t = Timeline();
            std::unique_lock lock(t.mutex);
            uint64_t generation = p->generation;
            t.turnChanged.wait(lock, [&] { return t.running == p.get() || t.generation != generation; });
        }
        body();
        Leave(p);
        t_self.reset();
    });
}

Thread::Thread(Thread&& other) noexcept = default;

Thread& Thread::operator=(Thread&& other) noexcept {
    if (this != &other) {
        Join();
        thread_ = std::move(other.thread_);
        participant_ = std::move(other.participant_);
    }
    return *this;
}

Thread::~Thread() { Join(); }

void Thread::Join() {
    if (!thread_.joinable()) return;
    if (participant_ && g_virtual) {
        auto& t = Timeline();
        std::unique_lock lock(t.mutex);
        Participant* self = t_self.get();
        if (TakesPart(t, self) && TakesPart(t, participant_.get())) {
            participant_->joiner = self;
            WaitForTurn(t, lock, self);
        }
    }
    thread_.join();
    participant_.reset();
}

void Thread::Detach() {
    if (thread_.joinable()) thread_.detach();
    participant_.reset();
}

}  // namespace kw::clock
