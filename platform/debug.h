// The platform's debugger output: standard error, only when KWCONFIG_DEBUG is set.
#pragma once

#include <string_view>

namespace kw {
bool DebugOutputEnabled();
void OutputDebugText(std::string_view text);
}  // namespace kw
