// The one process-wide adapter context handed to every driver call.
#pragma once

#include "src/device/records.h"

namespace kw {

AdapterContext* Adapter();
// The closed state of start-up: no handle, the library's words cleared.
void ResetAdapterContext();

}  // namespace kw
