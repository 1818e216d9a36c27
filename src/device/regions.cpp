#include "src/device/regions.h"

#include <array>

#include "platform/text.h"
#include "src/device/identity.h"
#include "src/device/kwwlan.h"
#include "src/lang/language_table.h"
#include "src/settings/appliers.h"

namespace kw {

namespace {

struct RegionRange {
    int first;
    int last;
    uint16_t mask;
};

constexpr uint16_t kCh1To11 = 0x07FF;
constexpr uint16_t kCh1To13 = 0x1FFF;
constexpr uint16_t kCh10To13 = 0x1E00;
constexpr uint16_t kCh1To14 = 0x3FFF;
constexpr uint16_t kCh3To9 = 0x01FC;
constexpr uint16_t kCh10 = 0x0200;

// 74 codes; every code appears once.
constexpr std::array kRegions = {
    RegionRange{0, 0, 0x0000},
    RegionRange{16, 16, kCh1To11},   RegionRange{32, 34, kCh1To11},   RegionRange{48, 49, kCh1To13},
    RegionRange{50, 50, kCh10To13},  RegionRange{51, 51, kCh1To11},   RegionRange{52, 54, kCh1To13},
    RegionRange{64, 65, kCh1To14},   RegionRange{66, 70, kCh1To11},   RegionRange{71, 71, kCh10To13},
    RegionRange{72, 72, kCh1To13},   RegionRange{80, 80, kCh3To9},    RegionRange{81, 81, kCh10},
    RegionRange{82, 104, kCh1To13},  RegionRange{105, 105, kCh1To11}, RegionRange{106, 110, kCh1To13},
    RegionRange{111, 112, kCh1To11}, RegionRange{113, 120, kCh1To13}, RegionRange{121, 121, kCh1To11},
    RegionRange{122, 123, kCh1To13}, RegionRange{125, 130, kCh1To11}, RegionRange{131, 133, kCh1To13},
};

constexpr int CountCodes() {
    int count = 0;
    for (const auto& r : kRegions) count += r.last - r.first + 1;
    return count;
}
static_assert(CountCodes() == 74);

bool RegionMask(int code, uint16_t& mask) {
    for (const auto& r : kRegions) {
        if (code >= r.first && code <= r.last) {
            mask = r.mask;
            return true;
        }
    }
    return false;
}

void SendChannelList(AdapterContext* ctx, const std::vector<uint8_t>& channels) {
    SetWL_SupportChannel(ctx, channels.data(), static_cast<int>(channels.size()));
}

constexpr int kRoamUserSelection = 0;
constexpr int kRoamWorldMode = 1;
constexpr int kWorldRegion = 0;

}  // namespace

bool RegionChannels(int regionCode, std::vector<uint8_t>& channels) {
    uint16_t mask = 0;
    channels.clear();
    if (!RegionMask(regionCode, mask)) return false;
    for (int bit = 0; bit < 16; ++bit) {
        if (mask & (1u << bit)) channels.push_back(static_cast<uint8_t>(bit + 1));
    }
    return true;
}

extern "C" int KWConfig_SetWL_RegionAndSupportChannel(AdapterContext* ctx, int regionCode) {
    if (KwOpenAdapter(ctx) == 0) return -1;
    std::vector<uint8_t> channels;
    if (!RegionChannels(regionCode, channels)) return -1;
    ApplyRegion(ctx, regionCode);
    if (DeviceKind() == 1) SendChannelList(ctx, channels);
    return 0;
}

int ParseRegionCodeText(std::u16string_view text) {
    if (text.empty()) return 0;
    int value = 0;
    for (char c : LowBytes(text)) {
        int digit = HexDigitValue(static_cast<unsigned char>(c));
        if (digit < 0) return -1;
        if (value > 0x7FFFFFF) return -1;  // longer than any region code
        value = value * 16 + digit;
    }
    return value;
}

std::vector<Country> BuildCountryList() {
    std::vector<Country> countries;
    for (int n = 1;; ++n) {
        std::u16string name = GetText(FormatW("AS_Country_Name_%d", n), u"");
        if (name.empty()) break;
        countries.push_back({std::move(name), ParseRegionCodeText(GetText(FormatW("AS_Country_Region_Code_%d", n), u""))});
    }
    return countries;
}

bool ChooseWorldMode(AdapterContext* ctx, int& roamingChoice) {
    ApplyRegion(ctx, kWorldRegion);
    if (DeviceKind() == 1) SendChannelList(ctx, {});
    if (roamingChoice == kRoamWorldMode) return false;
    roamingChoice = kRoamWorldMode;
    ApplyMultiDomainCapability(ctx, 1);
    return true;
}

bool ChooseUserSelection(AdapterContext* ctx, int& roamingChoice) {
    if (roamingChoice == kRoamUserSelection) return false;
    roamingChoice = kRoamUserSelection;
    ApplyMultiDomainCapability(ctx, 0);
    return true;
}

void PickCountry(AdapterContext* ctx, int regionCode) {
    ApplyRegion(ctx, regionCode);
    int region = QueryWL_OperationRegionCode(ctx);
    if (region != -1 && DeviceKind() == 1) SetWL_RegionAndSupportChannel(ctx, region);
}

}  // namespace kw
