// Process-wide flags of the application frame.
#pragma once

namespace kw {

// Set at start: the main window keeps itself hidden until the user opens it.
bool StartHidden();
void SetStartHidden(bool hidden);

}  // namespace kw
