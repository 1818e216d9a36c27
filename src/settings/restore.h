// The restore: every stored setting of the current operating mode is pushed into the driver
// through its applier, with range rules that replace missing or corrupt values.
#pragma once

struct AdapterContext;

namespace kw {

// Band capability learnt by the last restore: 0 2.4 GHz only, 1 5 GHz only, 2 dual band.
int BandCapability();
// Whether the driver lets the program choose the band.
bool BandSelectionSupported();

int RestoreSettings(AdapterContext* ctx);

// A throw-away network name of 32 random bytes (seeded with the time), so that the adapter leaves
// the network it is in.
void SendThrowAwaySsid(AdapterContext* ctx);

}  // namespace kw
