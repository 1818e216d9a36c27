#include "src/config/app_flags.h"

#include <atomic>

namespace kw {

namespace {
std::atomic<bool> g_startHidden{false};
}

bool StartHidden() { return g_startHidden; }
void SetStartHidden(bool hidden) { g_startHidden = hidden; }

}  // namespace kw
