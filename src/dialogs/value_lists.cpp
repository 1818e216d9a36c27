#include "src/dialogs/value_lists.h"

#include <algorithm>
#include <iterator>

#include "platform/text.h"
#include "platform/ui/control.h"
#include "src/device/kwwlan.h"
#include "src/lang/language_table.h"

namespace kw {

namespace {

constexpr int kChannelRoom = 100;
constexpr uint8_t kBandSeparator = 255;
constexpr uint8_t k24GHz[] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14};
constexpr uint8_t k5GHz[] = {8,   12,  16,  34,  36,  38,  40,  42,  44,  46,  48,  52,  56,  60,  64,  100, 104,
                             108, 112, 116, 120, 124, 128, 132, 136, 140, 149, 153, 157, 161, 184, 188, 192, 196};

}  // namespace

void FillNumberedList(ui::CComboBox& combo, const char* format, int first, int limit) {
    int selection = combo.CurSel();
    combo.ResetContent();
    for (int n = first; combo.Count() < limit; ++n) {
        std::u16string text = GetText(FormatW(format, n), u"");
        if (text.empty()) break;
        combo.AddString(text);
    }
    combo.SetCurSel(selection);
}

std::vector<uint8_t> ChannelsOfBand(AdapterContext* ctx, int band) {
    std::vector<uint8_t> channels;
    uint8_t list[kChannelRoom] = {};
    int count = QueryWL_SupportChannel(ctx, list, kChannelRoom);
    if (count >= 0) {
        const uint8_t* begin = list;
        const uint8_t* end = list + std::min(count, kChannelRoom);
        const uint8_t* separator = std::find(begin, end, kBandSeparator);
        if (band == 0) channels.assign(begin, separator);
        if (band == 1 && separator != end) channels.assign(separator + 1, end);
    } else if (band == 0) {
        channels.assign(std::begin(k24GHz), std::end(k24GHz));
    } else if (band == 1) {
        channels.assign(std::begin(k5GHz), std::end(k5GHz));
    }
    return channels;
}

void ShowChannelList(ui::CComboBox& combo, const std::vector<uint8_t>& channels, AdapterContext* ctx) {
    combo.ResetContent();
    for (uint8_t channel : channels) combo.AddString(FormatW("%d", channel));
    int current = QueryWL_Channel(ctx);
    auto at = std::find(channels.begin(), channels.end(), current);
    combo.SetCurSel(at == channels.end() ? 0 : static_cast<int>(at - channels.begin()));
}

}  // namespace kw
