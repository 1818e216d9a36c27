// The vendor's Bluetooth utility, an outside program started when an adapter opens (when the
// configuration asks for it) and ended at Exit and when the adapter disappears.
#pragma once

#include <sys/types.h>

namespace kw {

namespace ui {
class CWnd;
}

// Starts the utility named by its App Paths entry; failures to read the entry or to start show
// the system's error text (a missing entry is silent). A second start replaces the record.
void StartBluetoothUtility(const ui::CWnd* owner);
// Ends the recorded utility, if any, and forgets it.
void EndBluetoothUtility();
// The recorded utility's process id, -1 when none.
pid_t BluetoothUtilityProcess();

}  // namespace kw
