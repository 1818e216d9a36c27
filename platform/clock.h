// The platform clock: every sleep, timer and program thread goes through it.
//
// In virtual time the clock is one deterministic timeline. The threads that take part (the one
// that switched virtual time on, and every clock::Thread started since) run one at a time; a
// sleep waits until the clock reaches its own deadline, and the clock jumps to the earliest
// pending deadline only when every taking part thread waits. Nothing really sleeps, and what the
// threads do happens in the same order however busy the machine is. A thread that does not take
// part (one started with std::thread) moves the clock by its sleeps at once.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <thread>

namespace kw::clock {

// Milliseconds since an arbitrary start; monotonic.
uint64_t NowMs();
void SleepMs(uint64_t ms);

// On: the calling thread takes part in the timeline. Off: every waiting thread goes on at once.
void UseVirtualTime(bool on);
bool IsVirtual();
// Lets time pass for the caller: in virtual time as SleepMs, in real time nothing.
void Advance(uint64_t ms);

// Seconds since 1970, for seeding random sources; in virtual time counted on the timeline.
int64_t WallSeconds();

struct Participant;

// A thread of the program. In virtual time it takes part in the timeline from the moment it is
// made: it first runs when the thread that made it next waits.
class Thread {
public:
    Thread() = default;
    explicit Thread(std::function<void()> body);
    Thread(Thread&&) noexcept;
    Thread& operator=(Thread&&) noexcept;
    ~Thread();  // joins

    bool Joinable() const { return thread_.joinable(); }
    // Waits for the body to end; in virtual time the caller's turn goes to the others meanwhile.
    void Join();
    void Detach();

private:
    std::thread thread_;
    std::shared_ptr<Participant> participant_;
};

}  // namespace kw::clock
