#include "platform/clock.h"

#include <atomic>
#include <chrono>
#include <thread>

namespace kw::clock {

namespace {
std::atomic<bool> g_virtual{false};
std::atomic<uint64_t> g_virtualNow{0};

uint64_t RealNowMs() {
    using namespace std::chrono;
    return static_cast<uint64_t>(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}
}  // namespace

uint64_t NowMs() { return g_virtual ? g_virtualNow.load() : RealNowMs(); }

void SleepMs(uint64_t ms) {
    if (g_virtual) {
        g_virtualNow += ms;
        // A hundredth of the time in real time: a thread looping on sleeps neither spins a core nor
        // races far ahead of the others.
        std::this_thread::sleep_for(std::chrono::microseconds(ms * 10));
        return;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

void UseVirtualTime(bool on) {
    if (on && !g_virtual) g_virtualNow = RealNowMs();
    g_virtual = on;
}

bool IsVirtual() { return g_virtual; }

void Advance(uint64_t ms) {
    if (g_virtual) g_virtualNow += ms;
}

int64_t WallSeconds() {
    using namespace std::chrono;
    return static_cast<int64_t>(duration_cast<seconds>(system_clock::now().time_since_epoch()).count());
}

}  // namespace kw::clock
