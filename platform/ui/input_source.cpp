#include "platform/ui/input_source.h"

#include <atomic>

#include "platform/text.h"

namespace kw::ui {

namespace {
std::atomic<IInputSource*> g_source{nullptr};
}

void SetInputSource(IInputSource* source) { g_source = source; }
IInputSource* InputSource() { return g_source; }

void ReportEvent(const std::string& line) {
    if (IInputSource* source = g_source) source->OnEvent(line);
}

void ReportFrameEvent(const std::string& line) {
    if (IInputSource* source = g_source) source->OnFrameEvent(line);
}

std::string QuoteText(std::u16string_view text) {
    std::string utf8 = ToUtf8(text);
    std::string quoted = "\"";
    for (char c : utf8) {
        switch (c) {
            case '\n': quoted += "\\n"; break;
            case '\r': quoted += "\\r"; break;
            case '"': quoted += "\\\""; break;
            case '\\': quoted += "\\\\"; break;
            default: quoted += c; break;
        }
    }
    return quoted + "\"";
}

}  // namespace kw::ui
