#include "src/app/console_commands.h"

#include <cerrno>
#include <cstdlib>
#include <optional>

#include "platform/text.h"
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

std::string Describe(const sim::AdapterSummary& adapter) {
    return std::to_string(adapter.number) + ": " + ToUtf8(FromCodePage(adapter.description)) +
           (adapter.present ? " (plugged in)" : " (unplugged)");
}

std::string AdapterNumbers(const std::vector<sim::AdapterSummary>& adapters) {
    if (adapters.empty()) return "the world has no adapters";
    return "the world's adapters are 1 to " + std::to_string(adapters.size()) + " (sim lists them)";
}

// Plugs or unplugs adapter N and names it.
std::string ChangeAdapter(const std::string& action, const std::string& numberText, std::vector<std::string>& output) {
    auto adapters = sim::WorldAdapters();
    auto number = Number(numberText);
    if (!number || *number < 1 || static_cast<size_t>(*number) > adapters.size()) {
        return "no adapter " + numberText + ": " + AdapterNumbers(adapters);
    }
    bool plug = action == "insert";
    if (!(plug ? sim::PlugAdapter(*number) : sim::UnplugAdapter(*number))) return "no adapter " + numberText;
    output.push_back("sim: " + Describe(sim::WorldAdapters()[static_cast<size_t>(*number - 1)]));
    return "";
}

}  // namespace

std::string RunSimCommand(const std::vector<std::string>& args, std::vector<std::string>& output) {
    if (args.empty()) {
        for (const auto& adapter : sim::WorldAdapters()) output.push_back("sim: " + Describe(adapter));
        return "";
    }
    if (args.size() != 2) return std::string("usage: ") + kSimCommandForm;
    if (args[0] == "remove" || args[0] == "insert") return ChangeAdapter(args[0], args[1], output);
    if (args[0] == "wzc") {
        auto number = Number(args[1]);
        if (!number) return "not a number: " + args[1];
        sim::SetZeroConfigStatus(*number);
        return "";
    }
    return "unknown sim command: " + args[0] + " (help sim gives its form)";
}

}  // namespace kw
