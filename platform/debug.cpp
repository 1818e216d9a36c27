#include "platform/debug.h"

#include <cstdio>
#include <cstdlib>

namespace kw {

bool DebugOutputEnabled() {
    const char* env = std::getenv("KWCONFIG_DEBUG");
    return env && *env && *env != '0';
}

void OutputDebugText(std::string_view text) {
    if (!DebugOutputEnabled()) return;
    std::fwrite(text.data(), 1, text.size(), stderr);
    std::fflush(stderr);
}

}  // namespace kw
