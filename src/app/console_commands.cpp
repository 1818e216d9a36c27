#include "src/app/console_commands.h"

#include <cerrno>
#include <cstdlib>
#include <optional>

#include "sim/control.h"

namespace kw {

namespace {
std::optional<int> Number(const std::string& text) {
    if (text.empty() || text.size() > 9) return std::nullopt;
    char* end = nullptr;
    errno = 0;
    long value = std::strtol(text.c_str(), &end, 10);
    if (errno != 0 || end == nullptr || *end != '\0') return std::nullopt;
    return static_cast<int>(value);
}
}  // namespace

std::string RunSimCommand(const std::vector<std::string>& args) {
    if (args.size() != 2) return "usage: sim remove N | sim insert N | sim wzc STATUS";
    auto number = Number(args[1]);
    if (!number) return "not a number: " + args[1];
    if (args[0] == "remove") return sim::UnplugAdapter(*number) ? "" : "no adapter " + args[1];
    if (args[0] == "insert") return sim::PlugAdapter(*number) ? "" : "no adapter " + args[1];
    if (args[0] == "wzc") {
        sim::SetZeroConfigStatus(*number);
        return "";
    }
    return "unknown sim command: " + args[0];
}

}  // namespace kw
