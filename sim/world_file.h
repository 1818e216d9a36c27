// Reading a world file (an initialisation file; see DefaultWorld.INI for every key).
#pragma once

#include <string>

#include "sim/world.h"

namespace kw::sim {

// Missing, malformed or out-of-range values take their defaults. Numbered sections are read
// from 1 up to the first one that holds none of its keys. False when the file cannot be read.
bool ReadWorldFile(const std::string& path, World& world);

}  // namespace kw::sim
