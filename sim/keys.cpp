#include "sim/keys.h"

#include <openssl/evp.h>
#include <openssl/hmac.h>

#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <utility>

namespace kw::sim {

namespace {

std::optional<Pmk> HexKey(std::string_view text) {
    if (text.size() != 64) return std::nullopt;
    Pmk key{};
    for (size_t i = 0; i < 64; ++i) {
        char c = text[i];
        int digit = c >= '0' && c <= '9'   ? c - '0'
                    : c >= 'a' && c <= 'f' ? c - 'a' + 10
                    : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                           : -1;
        if (digit < 0) return std::nullopt;
        key[i / 2] = static_cast<uint8_t>(key[i / 2] * 16 + digit);
    }
    return key;
}

Bytes Concat(std::initializer_list<std::pair<const uint8_t*, size_t>> parts) {
    Bytes out;
    for (auto [data, size] : parts) out.insert(out.end(), data, data + size);
    return out;
}

}  // namespace

bool DerivePassphraseKey(std::string_view passphrase, const uint8_t* ssid, size_t ssidLength, int iterations,
                         uint8_t* out, size_t outLength) {
    static const uint8_t kNoSsid = 0;
    if (!ssid && ssidLength == 0) ssid = &kNoSsid;
    if (!ssid || !out || ssidLength > 32 || iterations < 1 || outLength == 0 || outLength > 1024) return false;
    return PKCS5_PBKDF2_HMAC_SHA1(passphrase.data(), static_cast<int>(passphrase.size()), ssid,
                                  static_cast<int>(ssidLength), iterations, static_cast<int>(outLength), out) == 1;
}

std::array<uint8_t, 16> DerivePmkid(const uint8_t* pmk, const uint8_t* authenticator, const uint8_t* supplicant) {
    static const char kLabel[] = "PMK Name";
    Bytes message =
        Concat({{reinterpret_cast<const uint8_t*>(kLabel), sizeof(kLabel) - 1}, {authenticator, 6}, {supplicant, 6}});
    uint8_t digest[EVP_MAX_MD_SIZE];
    unsigned int digestLength = 0;
    HMAC(EVP_sha1(), pmk, 32, message.data(), message.size(), digest, &digestLength);
    std::array<uint8_t, 16> pmkid{};
    std::copy(digest, digest + pmkid.size(), pmkid.begin());
    return pmkid;
}

Bytes Prf(const uint8_t* key, size_t keyLength, std::string_view label, const Bytes& data, size_t length) {
    Bytes out;
    for (uint8_t counter = 0; out.size() < length; ++counter) {
        Bytes message(label.begin(), label.end());
        message.push_back(0);
        message.insert(message.end(), data.begin(), data.end());
        message.push_back(counter);
        uint8_t digest[EVP_MAX_MD_SIZE];
        unsigned int digestLength = 0;
        HMAC(EVP_sha1(), key, static_cast<int>(keyLength), message.data(), message.size(), digest, &digestLength);
        out.insert(out.end(), digest, digest + digestLength);
    }
    out.resize(length);
    return out;
}

Pmk PreSharedKeyOf(const WorldNetwork& network) {
    if (auto key = HexKey(network.passphrase)) return *key;
    // A network's key is the same every time it is joined: derived once.
    static std::mutex mutex;
    static std::map<std::pair<std::string, Bytes>, Pmk> derived;
    std::lock_guard lock(mutex);
    auto found = derived.find({network.passphrase, network.ssid});
    if (found != derived.end()) return found->second;
    Pmk pmk{};
    DerivePassphraseKey(network.passphrase, network.ssid.data(), network.ssid.size(), 4096, pmk.data(), pmk.size());
    if (derived.size() < 256) derived.emplace(std::make_pair(network.passphrase, network.ssid), pmk);
    return pmk;
}

Bytes EapSessionKey(std::string_view secret, const Mac& bssid, const Mac& station) {
    Bytes data = Concat({{bssid.data(), bssid.size()}, {station.data(), station.size()}});
    return Prf(reinterpret_cast<const uint8_t*>(secret.data()), secret.size(), "KW simulated EAP session key", data,
               128);
}

Bytes PairwiseKey(const Pmk& pmk, const Mac& bssid, const Mac& station, size_t length) {
    Bytes data = Concat({{bssid.data(), bssid.size()}, {station.data(), station.size()}});
    return Prf(pmk.data(), pmk.size(), "KW simulated pairwise key", data, length);
}

Bytes GroupKey(const WorldNetwork& network, size_t length) {
    Bytes data = Concat({{network.ssid.data(), network.ssid.size()}});
    return Prf(network.bssid.data(), network.bssid.size(), "KW simulated group key", data, length);
}

}  // namespace kw::sim
