// The console's "sim" command: world events typed by the person trying the program.
#pragma once

#include <string>
#include <vector>

namespace kw {

// sim remove N | sim insert N | sim wzc STATUS. Returns an error text, empty when done.
std::string RunSimCommand(const std::vector<std::string>& args);

}  // namespace kw
