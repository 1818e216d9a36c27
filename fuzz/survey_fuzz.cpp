// The survey-buffer walk on any bytes: every entry lies inside the buffer, and overwriting an
// entry's signal strength changes that and nothing else the walk sees.
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "src/mainwnd/survey_buffer.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<uint8_t> buffer(data, data + size);  // an exact-size copy, so reads past it are caught
    auto networks = kw::ReadSurvey(buffer.data(), buffer.size());
    for (const auto& n : networks) {
        if (n.ssid.size() > 32 || n.offset >= size || n.elements.size() > size - n.offset) std::abort();
    }
    for (size_t i = 0; i < networks.size(); ++i) {
        kw::WriteSurveyRssi(buffer.data(), buffer.size(), networks[i].offset, -42);
        auto again = kw::ReadSurvey(buffer.data(), buffer.size());
        if (again.size() != networks.size() || again[i].rssi != -42 || again[i].ssid != networks[i].ssid ||
            again[i].elements != networks[i].elements) {
            std::abort();
        }
    }
    return 0;
}
