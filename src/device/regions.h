// Regulatory regions: region codes, the 2.4 GHz channels each allows, and the country list of
// the language file.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct AdapterContext;

namespace kw {

// Channels allowed by a region, ascending; false for a code not in the table.
bool RegionChannels(int regionCode, std::vector<uint8_t>& channels);

// Sets the region (driver and both store branches) and, for device kind 1, the channel list.
// -1 when the adapter cannot be opened or the code is not in the table; 0 otherwise.
extern "C" int KWConfig_SetWL_RegionAndSupportChannel(AdapterContext* ctx, int regionCode);

struct Country {
    std::u16string name;
    int regionCode;  // 0 for an empty code text, -1 for one that is not hexadecimal
};
// The countries of the current language, in file order, up to the first empty name.
std::vector<Country> BuildCountryList();
// Hexadecimal digits only; empty gives 0, anything else -1.
int ParseRegionCodeText(std::u16string_view text);

// Roaming choice: 0 user selection, 1 world mode, -1 not chosen. Each returns whether the
// choice changed (the caller then disables or enables its country list).
bool ChooseWorldMode(AdapterContext* ctx, int& roamingChoice);
bool ChooseUserSelection(AdapterContext* ctx, int& roamingChoice);
// A country picked from the list: its region goes to the driver and the store.
void PickCountry(AdapterContext* ctx, int regionCode);

}  // namespace kw
