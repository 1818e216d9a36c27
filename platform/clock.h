// The platform clock: every sleep and timer goes through it. In virtual time a sleep moves the
// clock forward at once and lasts a hundredth of that in real time, so tests and scripts barely wait.
#pragma once

#include <cstdint>

namespace kw::clock {

// Milliseconds since an arbitrary start; monotonic.
uint64_t NowMs();
void SleepMs(uint64_t ms);

void UseVirtualTime(bool on);
bool IsVirtual();
// Virtual time only: moves the clock forward.
void Advance(uint64_t ms);

// Seconds since 1970, for seeding random sources (virtual time adds its offset).
int64_t WallSeconds();

}  // namespace kw::clock
