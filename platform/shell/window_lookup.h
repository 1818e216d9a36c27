// Finding a top-level window by its caption across the processes of one user. Every top-level
// window publishes its caption as a small file in <state root>/windows/, stamped with the
// process id and the process's start time; a lookup counts only files of processes that still
// run (the start time guards against a reused process id), so a crashed process leaves nothing
// that is still found. Files of ended processes are removed when a lookup meets them.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/ui/types.h"

namespace kw::shell {

struct FoundWindow {
    int pid = 0;
    ui::WindowHandle handle = 0;
};

// A top-level window, shown or hidden, whose caption is exactly caption (case counts).
std::optional<FoundWindow> FindWindowByCaption(std::u16string_view caption);

// Used by the windows themselves: writes (or rewrites) the window's file and returns its path,
// empty when it could not be written; previousFile is the path an earlier call returned.
std::string PublishWindow(ui::WindowHandle handle, std::u16string_view caption, const std::string& previousFile);
void WithdrawWindow(const std::string& file);

// The start time of a running process in clock ticks since boot; nullopt when it does not run.
std::optional<uint64_t> ProcessStartTime(int pid);

}  // namespace kw::shell
