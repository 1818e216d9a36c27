#include "sim/elements.h"

#include <algorithm>
#include <cstring>

namespace kw::sim {

namespace {

constexpr uint8_t kRsnOui[3] = {0x00, 0x0F, 0xAC};
constexpr uint8_t kWpaOui[3] = {0x00, 0x50, 0xF2};
constexpr uint8_t kWpaOuiType = 1;
constexpr size_t kRatesInFirstElement = 8;
constexpr uint16_t kCapabilityEss = 0x0001;
constexpr uint16_t kCapabilityIbss = 0x0002;
constexpr uint16_t kCapabilityPrivacy = 0x0010;

void AddElement(Bytes& out, uint8_t id, const Bytes& body) {
    out.push_back(id);
    out.push_back(static_cast<uint8_t>(body.size()));
    out.insert(out.end(), body.begin(), body.end());
}

void AddSuite(Bytes& out, const uint8_t* oui, uint8_t type) {
    out.insert(out.end(), oui, oui + 3);
    out.push_back(type);
}

void AddLe16(Bytes& out, uint16_t value) {
    out.push_back(static_cast<uint8_t>(value));
    out.push_back(static_cast<uint8_t>(value >> 8));
}

Bytes NonZero(const Bytes& rates) {
    Bytes out;
    for (uint8_t r : rates) {
        if (r) out.push_back(r);
    }
    return out;
}

void AddRateElements(Bytes& first, Bytes& extended, const Bytes& rates) {
    Bytes all = NonZero(rates);
    size_t split = std::min(all.size(), kRatesInFirstElement);
    AddElement(first, kElementRates, Bytes(all.begin(), all.begin() + static_cast<long>(split)));
    if (all.size() > split) {
        AddElement(extended, kElementExtendedRates, Bytes(all.begin() + static_cast<long>(split), all.end()));
    }
}

uint8_t NetworkAkm(const WorldNetwork& network) { return UsesEap(network.security) ? kAkm8021X : kAkmPsk; }

constexpr uint32_t kTypeDs = 1;  // 802.11b rates only
constexpr uint32_t kTypeOfdm5 = 2;
constexpr uint32_t kTypeOfdm24 = 3;
constexpr uint8_t kHighest11bRate = 22;

}  // namespace

uint32_t TypeInUseOf(const WorldNetwork& network) {
    if (IsFiveGigahertz(network.frequencyKhz)) return kTypeOfdm5;
    bool onlyB = std::all_of(network.rates.begin(), network.rates.end(),
                             [](uint8_t r) { return (r & 0x7F) <= kHighest11bRate; });
    return onlyB ? kTypeDs : kTypeOfdm24;
}

uint16_t CapabilityOf(const WorldNetwork& network) {
    uint16_t capabilities = network.adhoc ? kCapabilityIbss : kCapabilityEss;
    if (network.security != Security::Open) capabilities |= kCapabilityPrivacy;
    return capabilities;
}

uint8_t SuiteOf(Cipher cipher) { return cipher == Cipher::Ccmp ? kSuiteCcmp : kSuiteTkip; }

Bytes SecurityElement(bool rsn, uint8_t groupSuite, uint8_t pairwiseSuite, uint8_t akm) {
    const uint8_t* oui = rsn ? kRsnOui : kWpaOui;
    Bytes body;
    if (!rsn) AddSuite(body, kWpaOui, kWpaOuiType);
    AddLe16(body, 1);  // version
    AddSuite(body, oui, groupSuite);
    AddLe16(body, 1);
    AddSuite(body, oui, pairwiseSuite);
    AddLe16(body, 1);
    AddSuite(body, oui, akm);
    if (rsn) AddLe16(body, 0);  // capabilities
    Bytes element;
    AddElement(element, rsn ? kElementRsn : kElementVendor, body);
    return element;
}

Bytes NetworkElements(const WorldNetwork& network) {
    if (network.rawElements) return network.elements;
    Bytes out;
    Bytes extendedRates;
    AddElement(out, kElementSsid, network.ssid);
    AddRateElements(out, extendedRates, network.rates);
    AddElement(out, kElementDsParameter, {static_cast<uint8_t>(ChannelOfFrequency(network.frequencyKhz))});
    if (network.adhoc) AddElement(out, kElementIbssParameter, {0, 0});
    uint8_t suite = SuiteOf(network.cipher);
    if (OffersRsn(network.security)) {
        Bytes rsn = SecurityElement(true, suite, suite, NetworkAkm(network));
        out.insert(out.end(), rsn.begin(), rsn.end());
    }
    out.insert(out.end(), extendedRates.begin(), extendedRates.end());
    if (OffersWpa(network.security)) {
        Bytes wpa = SecurityElement(false, suite, suite, NetworkAkm(network));
        out.insert(out.end(), wpa.begin(), wpa.end());
    }
    return out;
}

Bytes StationSecurityElement(int authenticationMode, int wepStatus, const WorldNetwork& network) {
    bool wpa = authenticationMode >= 3 && authenticationMode <= 5;
    bool rsn = authenticationMode == 6 || authenticationMode == 7;
    if (!wpa && !rsn) return {};
    uint8_t pairwise = SuiteOf(network.cipher);
    if (wepStatus == 4 || wepStatus == 5) pairwise = kSuiteTkip;
    if (wepStatus == 6 || wepStatus == 7) pairwise = kSuiteCcmp;
    uint8_t akm = authenticationMode == 3 || authenticationMode == 6 ? kAkm8021X : kAkmPsk;
    return SecurityElement(rsn, SuiteOf(network.cipher), pairwise, akm);
}

Bytes AssociationInformation(const WorldAdapter& adapter, const AdapterState& state, const WorldNetwork& network) {
    Bytes request;
    Bytes requestExtended;
    AddElement(request, kElementSsid, network.ssid);
    AddRateElements(request, requestExtended, Bytes(adapter.supportedRates.begin(), adapter.supportedRates.end()));
    // Elements go in id order: RSN (48) before the extended rates (50), the vendor element after.
    const Bytes& own = state.link.ownElement;
    bool ownFirst = !own.empty() && own[0] == kElementRsn;
    if (ownFirst) request.insert(request.end(), own.begin(), own.end());
    request.insert(request.end(), requestExtended.begin(), requestExtended.end());
    if (!ownFirst) request.insert(request.end(), own.begin(), own.end());
    Bytes response;
    Bytes responseExtended;
    AddRateElements(response, responseExtended, network.rates);
    response.insert(response.end(), responseExtended.begin(), responseExtended.end());

    AssociationInfoHeader header{};
    header.length = sizeof(header);
    header.availableRequestFixed = 0x3;  // capabilities, listen interval
    header.requestCapabilities = CapabilityOf(network);
    header.requestListenInterval = 10;
    header.requestIeLength = static_cast<uint32_t>(request.size());
    header.requestIeOffset = sizeof(header);
    header.availableResponseFixed = 0x7;  // capabilities, status, association id
    header.responseCapabilities = CapabilityOf(network);
    header.responseAssociationId = 0xC001;
    header.responseIeLength = static_cast<uint32_t>(response.size());
    header.responseIeOffset = static_cast<uint32_t>(sizeof(header) + request.size());

    Bytes out(sizeof(header));
    std::memcpy(out.data(), &header, sizeof(header));
    out.insert(out.end(), request.begin(), request.end());
    out.insert(out.end(), response.begin(), response.end());
    return out;
}

}  // namespace kw::sim
