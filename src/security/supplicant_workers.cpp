#include "src/security/supplicant_workers.h"

#include <array>
#include <cstring>
#include <memory>

#include "platform/clock.h"
#include "src/device/adapter_context.h"
#include "src/device/dot1x.h"
#include "src/device/kwwlan.h"
#include "src/security/authentication.h"
#include "src/security/key_callbacks.h"
#include "src/security/pmk_cache.h"

namespace kw {

namespace {

constexpr int kLinkPolls = 50;
constexpr uint64_t kLinkPollMs = 100;
constexpr int kEapolRuns = 402;
constexpr int32_t kEapInteger = 1398;
constexpr size_t kDerivedKeyBytes = 128;
constexpr size_t kPmkBytes = 32;

enum class Mode { Dot1x, Wpa, Wpa2 };
enum class Method { Tls, Peap, Ttls };
enum class Rejoin { Force, Reapply, ForceIfAssociated };

struct Credentials {
    const char* userName = "";
    const char* password = "";
    const char* phase2Method = "";
    uint8_t validate = 0;
};

// The fixed 16-byte value every worker puts into its negotiation block.
std::array<uint8_t, 16> FixedBlockValue() {
    std::array<uint8_t, 16> value{};
    for (size_t i = 0; i < value.size(); ++i) value[i] = static_cast<uint8_t>(0x5A ^ (i * 0x1D));
    return value;
}

void CopyText(char* dest, size_t room, const char* text) {
    size_t n = text ? strnlen(text, room - 1) : 0;
    if (n) std::memcpy(dest, text, n);
    dest[n] = '\0';
}

bool Associated() { return QueryWL_ConnectState(Adapter()) == 0; }

void DoRejoin(Rejoin rejoin) {
    switch (rejoin) {
        case Rejoin::Force: ForceReassociation(); break;
        case Rejoin::Reapply: ReapplyNetwork(); break;
        case Rejoin::ForceIfAssociated:
            if (Associated()) ForceReassociation();
            break;
    }
}

enum class LinkWait { Up, TimedOut, Stopped };

LinkWait WaitForLink() {
    int polls = 0;
    while (AuthenticationWanted() && !Associated()) {
        if (++polls > kLinkPolls) return LinkWait::TimedOut;
        clock::SleepMs(kLinkPollMs);
    }
    return AuthenticationWanted() ? LinkWait::Up : LinkWait::Stopped;
}

void FillDot1xConfig(Dot1xConfig& config, Method method, const Credentials& c) {
    std::memset(&config, 0, sizeof config);
    CopyText(config.identity, sizeof config.identity, method == Method::Ttls ? "anonymous" : c.userName);
    CopyText(config.password, sizeof config.password, method == Method::Tls ? "Wexlu" : c.password);
    CopyText(config.caFile, sizeof config.caFile, "caroot.pem");
    if (method == Method::Tls) {
        CopyText(config.clientCertFile, sizeof config.clientCertFile, "Talvo.pem");
        CopyText(config.privateKeyFile, sizeof config.privateKeyFile, "Talvo_key.pem");
    }
    CopyText(config.methodFamily, sizeof config.methodFamily, "EAP");
    CopyText(config.eapMethod, sizeof config.eapMethod,
             method == Method::Tls ? "TLS" : method == Method::Peap ? "PEAP" : "TTLS");
    config.number = kEapInteger;
    CopyText(config.randFile, sizeof config.randFile, ".rand");
    if (method == Method::Peap) CopyText(config.phase2Method, sizeof config.phase2Method, "MS-CHAPv2");
    if (method == Method::Ttls) CopyText(config.phase2Method, sizeof config.phase2Method, c.phase2Method);
    if (method != Method::Tls) CopyText(config.innerIdentity, sizeof config.innerIdentity, c.userName);
    config.validateServerCertificate = c.validate;
}

// Runs key negotiation until the link drops (then rejoins) or authentication is stopped.
void NegotiateKeys(KeyNegotiationBlock& block, Rejoin onLoss) {
    while (AuthenticationWanted()) {
        do_key_negotiation_run(&block);
        if (!Associated()) {
            DoRejoin(onLoss);
            return;
        }
    }
}

// The block's common part: cleared, the element's ciphers, the callbacks, the own address.
void PrepareBlock(KeyNegotiationBlock& block, int element, KeyInstallCallback keyCallback,
                  ElementCallback elementCallback, const uint8_t* ownMac) {
    std::memset(&block, 0, sizeof block);
    block.cleared = 0;
    if (element != 0) ParseCipherSuites(element, &block.pairwiseCipher, &block.groupCipher);
    block.keyCallback = keyCallback;
    block.elementCallback = elementCallback;
    std::memcpy(block.ownMac, ownMac, 6);
}

struct EapWorker {
    Mode mode;
    Method method;

    int Element() const { return mode == Mode::Wpa ? kElementWpa : mode == Mode::Wpa2 ? kElementRsn : 0; }
    Rejoin OnTimeout() const { return mode == Mode::Wpa2 ? Rejoin::Reapply : Rejoin::Force; }
    Rejoin OnFailure() const { return mode == Mode::Wpa2 ? Rejoin::ForceIfAssociated : Rejoin::Force; }
    Rejoin OnLoss() const { return mode == Mode::Wpa2 ? Rejoin::Reapply : Rejoin::Force; }
    bool UsesCache() const { return mode == Mode::Wpa2; }
    KeyInstallCallback KeyCallback() const { return mode == Mode::Dot1x ? AddWepCallback : AddKeyCallback; }
    ElementCallback ElementCb() const {
        return mode == Mode::Dot1x && method != Method::Tls ? nullptr : GetAssocIeCallback;
    }

    void Run(const Credentials& credentials) const {
        auto block = std::make_unique<KeyNegotiationBlock>();
        auto cache = std::make_unique<PmkCache>();
        cache->Clear();
        auto config = std::make_unique<Dot1xConfig>();
        const auto fixed = FixedBlockValue();
        bool libraryUsed = false;
        while (AuthenticationWanted()) {
            LinkWait wait = WaitForLink();
            if (wait == LinkWait::Stopped) break;
            if (wait == LinkWait::TimedOut) {
                DoRejoin(OnTimeout());
                continue;
            }
            libraryUsed = true;
            uint8_t ownMac[6] = {}, bssid[6] = {};
            GetNICAdapterMAC(Adapter(), ownMac);
            QueryWL_BSSID(Adapter(), bssid);

            FillDot1xConfig(*config, method, credentials);
            do_eapol_init(Adapter(), 0, ownMac, bssid, config.get());
            bool success = false;
            for (int run = 0; run < kEapolRuns && AuthenticationWanted(); ++run) {
                if (do_eapol_run() != 0) {
                    success = true;
                    break;
                }
            }
            do_eapol_halt();
            if (!success) {
                DoRejoin(OnFailure());
                continue;
            }

            uint8_t derived[kDerivedKeyBytes] = {};
            Get_EAP_Derived_Key(derived);
            DumpHex(derived, sizeof derived);
            if (UsesCache()) cache->Update(bssid, derived);

            PrepareBlock(*block, Element(), KeyCallback(), ElementCb(), ownMac);
            std::memcpy(block->derivedKey, derived, sizeof derived);
            std::memcpy(block->pmk, derived, kPmkBytes);
            std::memcpy(block->fixedValue, fixed.data(), fixed.size());
            if (UsesCache()) {
                uint8_t pmkid[16] = {};
                Get_PMKID(block->pmk, bssid, ownMac, pmkid);
                SetPmkid(bssid, pmkid);
            }
            do_key_negotiation_init(Adapter(), block.get());
            NegotiateKeys(*block, OnLoss());
        }
        if (libraryUsed) Shutdown_Dot1x_Module();
    }
};

void RunPskWorker(Mode mode, const char* ssid, const uint8_t* key, int keyFormat) {
    auto block = std::make_unique<KeyNegotiationBlock>();
    const auto fixed = FixedBlockValue();
    const int element = mode == Mode::Wpa2 ? kElementRsn : kElementWpa;
    bool libraryUsed = false;
    while (AuthenticationWanted()) {
        LinkWait wait = WaitForLink();
        if (wait == LinkWait::Stopped) break;
        if (wait == LinkWait::TimedOut) {
            ForceReassociation();
            continue;
        }
        libraryUsed = true;
        uint8_t ownMac[6] = {}, bssid[6] = {};
        GetNICAdapterMAC(Adapter(), ownMac);
        QueryWL_BSSID(Adapter(), bssid);

        PrepareBlock(*block, element, AddKeyCallback, GetAssocIeCallback, ownMac);
        if (keyFormat == 1) {
            std::memcpy(block->pmk, key, kPmkBytes);
        } else {
            size_t ssidLength = strnlen(ssid, 32);
            Get_PSK_Key_32byte(reinterpret_cast<const char*>(key), reinterpret_cast<const uint8_t*>(ssid),
                               static_cast<int>(ssidLength), 4096, block->pmk, kPmkBytes);
        }
        std::memcpy(block->fixedValue, fixed.data(), fixed.size());
        if (mode == Mode::Wpa2) {
            uint8_t pmkid[16] = {};
            Get_PMKID(block->pmk, bssid, ownMac, pmkid);
            SetPmkid(bssid, pmkid);
        }
        do_key_negotiation_init(Adapter(), block.get());
        do_eapol_start(bssid, ownMac);
        NegotiateKeys(*block, Rejoin::Force);
    }
    if (libraryUsed) Shutdown_Dot1x_Module();
}

}  // namespace

void DoDot1xTls(const char* u, uint8_t v) { EapWorker{Mode::Dot1x, Method::Tls}.Run({u, "", "", v}); }
void DoDot1xPeap(const char* u, const char* p, uint8_t v) { EapWorker{Mode::Dot1x, Method::Peap}.Run({u, p, "", v}); }
void DoDot1xTtls(const char* u, const char* p, const char* m, uint8_t v) {
    EapWorker{Mode::Dot1x, Method::Ttls}.Run({u, p, m, v});
}
void DoWpaTls(const char* u, uint8_t v) { EapWorker{Mode::Wpa, Method::Tls}.Run({u, "", "", v}); }
void DoWpaPeap(const char* u, const char* p, uint8_t v) { EapWorker{Mode::Wpa, Method::Peap}.Run({u, p, "", v}); }
void DoWpaTtls(const char* u, const char* p, const char* m, uint8_t v) { EapWorker{Mode::Wpa, Method::Ttls}.Run({u, p, m, v}); }
void DoWpa2Tls(const char* u, uint8_t v) { EapWorker{Mode::Wpa2, Method::Tls}.Run({u, "", "", v}); }
void DoWpa2Peap(const char* u, const char* p, uint8_t v) { EapWorker{Mode::Wpa2, Method::Peap}.Run({u, p, "", v}); }
void DoWpa2Ttls(const char* u, const char* p, const char* m, uint8_t v) {
    EapWorker{Mode::Wpa2, Method::Ttls}.Run({u, p, m, v});
}
void DoWpaPsk(const char* ssid, const uint8_t* key, int keyFormat) { RunPskWorker(Mode::Wpa, ssid, key, keyFormat); }
void DoWpa2Psk(const char* ssid, const uint8_t* key, int keyFormat) { RunPskWorker(Mode::Wpa2, ssid, key, keyFormat); }

}  // namespace kw
