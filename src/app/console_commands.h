// The console's "sim" command: world events typed by the person trying the program.
#pragma once

#include <string>
#include <vector>

namespace kw {

inline constexpr char kSimCommandForm[] = "sim | sim remove N | sim insert N | sim wzc STATUS";
inline constexpr char kSimCommandSummary[] =
    "list the world's adapters; unplug or plug adapter N; set the Zero Configuration status";

// Returns an error text, empty when done; what the command shows goes to output, a line each.
std::string RunSimCommand(const std::vector<std::string>& args, std::vector<std::string>& output);

}  // namespace kw
