// Lists the settings dialogs share: entries from numbered language keys, and the channels the
// driver offers in one band (or the built-in ones when it cannot tell).
#pragma once

#include <cstdint>
#include <vector>

struct AdapterContext;

namespace kw {

namespace ui {
class CComboBox;
}

// Entries from numbered language keys up to the first empty text, at most limit of them; the
// list keeps the selection it had.
void FillNumberedList(ui::CComboBox& combo, const char* format, int first, int limit);

// Band 0: 2.4 GHz, band 1: 5 GHz.
std::vector<uint8_t> ChannelsOfBand(AdapterContext* ctx, int band);

// Fills combo with the channels as "%d" and selects the driver's current one, else entry 0.
void ShowChannelList(ui::CComboBox& combo, const std::vector<uint8_t>& channels, AdapterContext* ctx);

}  // namespace kw
