#include "src/device/adapter_context.h"

#include <cstring>

namespace kw {

namespace {
AdapterContext g_adapter{};
}

AdapterContext* Adapter() { return &g_adapter; }

void ResetAdapterContext() {
    g_adapter.handle = -1;
    g_adapter.libraryWord1 = 0;
    g_adapter.libraryWord3 = 0;
}

}  // namespace kw
