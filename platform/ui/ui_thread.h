// Inside the framework: the state of the user-interface thread and the steps of a modal loop.
#pragma once

#include "platform/ui/window.h"

namespace kw::ui::detail {

// One step of a modal loop, in the order Windows gives them: a queued message, else a due
// timer, else a queued tick. False when none was waiting.
bool DispatchQueued();

}  // namespace kw::ui::detail
