// The supplicant library's entry points: EAP against the simulated access point's account, key
// negotiation that installs keys through the caller's callbacks, and the IEEE 802.11i key
// derivations.
#include <algorithm>
#include <cstring>
#include <optional>

#include "platform/clock.h"
#include "platform/debug.h"
#include "platform/text.h"
#include "sim/call_log.h"
#include "sim/certificates.h"
#include "sim/keys.h"
#include "sim/link.h"
#include "sim/requests.h"
#include "sim/sim_state.h"
#include "src/device/dot1x.h"

using namespace kw::sim;

namespace {

// Each EAP or negotiation step takes this long, so the callers' back-to-back loops do not spin.
constexpr uint64_t kStepMs = 100;
// EAP needs this many exchanges before it can succeed.
constexpr int kEapRoundTrips = 3;
constexpr int kMaxIterations = 100000;
constexpr size_t kPassphraseRoom = 256;
constexpr size_t kElementRoom = 258;

template <size_t N>
std::string Field(const char (&text)[N]) {
    return std::string(text, strnlen(text, N));
}

Mac MacOf(const uint8_t* bytes) {
    Mac mac{};
    if (bytes) std::copy_n(bytes, mac.size(), mac.begin());
    return mac;
}

// The secret that the credentials of the record prove to the network's authentication server.
std::optional<std::string> EapSecret(const SimState& sim, const WorldNetwork& network, const Dot1xConfig& config) {
    if (!kw::EqualsNoCase(kw::FromUtf8(Field(config.methodFamily)), u"EAP")) return std::nullopt;
    std::u16string method = kw::FromUtf8(Field(config.eapMethod));
    if (kw::EqualsNoCase(method, u"TLS")) {
        return TlsSecret(sim, Field(config.clientCertFile), Field(config.privateKeyFile), Field(config.password));
    }
    if (!kw::EqualsNoCase(method, u"PEAP") && !kw::EqualsNoCase(method, u"TTLS")) return std::nullopt;
    std::string identity = Field(config.innerIdentity);
    if (identity.empty()) identity = Field(config.identity);
    if (identity != network.user || Field(config.password) != network.password) return std::nullopt;
    return "password " + network.user + " / " + network.password;
}

std::string DescribeConfig(const Dot1xConfig* config) {
    if (!config) return "null";
    return "{" + QuoteText(Field(config->methodFamily)) + ", " + QuoteText(Field(config->eapMethod)) + ", " +
           QuoteText(Field(config->identity)) + ", " + QuoteText(Field(config->innerIdentity)) + ", " +
           std::to_string(config->validateServerCertificate) + "}";
}

std::string DescribeBlock(const KeyNegotiationBlock* block) {
    if (!block) return "null";
    return kw::Format("{%d, %d}", block->pairwiseCipher, block->groupCipher);
}

// The adapter of a session, while it is the same plugged-in adapter and associated.
AdapterState* SessionAdapter(SimState& sim, int adapter, uint32_t generation) {
    if (adapter < 0 || static_cast<size_t>(adapter) >= sim.adapters.size()) return nullptr;
    AdapterState& state = sim.adapters[static_cast<size_t>(adapter)];
    if (!state.present || state.generation != generation) return nullptr;
    SettleLink(sim, adapter, kw::clock::NowMs());
    return JoinedNetwork(sim, state) ? &state : nullptr;
}

struct KeyToInstall {
    Bytes key;
    int index;
    int kind;  // 0 pairwise, 1 group
};

// What one negotiation step does once the master keys agree.
struct NegotiationPlan {
    bool proceed = false;
    Bytes expectedElement;  // checked through the element callback when not empty
    std::vector<KeyToInstall> keys;
};

NegotiationPlan PlanNegotiation(SimState& sim, const KeyNegotiationBlock& block) {
    NegotiationPlan plan;
    NegotiationSession& session = sim.negotiation;
    AdapterState* state = session.active ? SessionAdapter(sim, session.adapter, session.generation) : nullptr;
    if (!state || session.done || ++session.runs < 2) return plan;
    const WorldNetwork& network = *JoinedNetwork(sim, *state);
    if (!NeedsKeys(network.security)) return plan;
    if (!state->link.pmk || !std::equal(state->link.pmk->begin(), state->link.pmk->end(), block.pmk)) {
        kw::OutputDebugText("kwwlan: key negotiation: the master keys differ\n");
        return plan;
    }
    Mac station = MacOf(block.ownMac);
    size_t pairwiseLength = KeyLengthOfCipherCode(block.pairwiseCipher);
    size_t groupLength = KeyLengthOfCipherCode(block.groupCipher);
    if (network.security == Security::Dot1xWep) {
        if (!pairwiseLength) pairwiseLength = kDynamicWepKeyLength;
        if (!groupLength) groupLength = kDynamicWepKeyLength;
    } else {
        plan.expectedElement = state->link.ownElement;
    }
    if (!pairwiseLength || !groupLength) {
        kw::OutputDebugText("kwwlan: key negotiation: no cipher in the block\n");
        return plan;
    }
    plan.proceed = true;
    plan.keys.push_back({PairwiseKey(*state->link.pmk, network.bssid, station, pairwiseLength), 0, 0});
    plan.keys.push_back({GroupKey(network, groupLength), 1, 1});
    return plan;
}

bool ElementMatches(const KeyNegotiationBlock& block, const Bytes& expected) {
    if (expected.empty() || !block.elementCallback) return true;
    uint8_t element[kElementRoom] = {};
    block.elementCallback(expected[0], element);
    bool same = std::equal(expected.begin(), expected.end(), element);
    if (!same) kw::OutputDebugText("kwwlan: key negotiation: the station's element differs from its association\n");
    return same;
}

}  // namespace

extern "C" {

int do_eapol_init(AdapterContext* ctx, int reserved, const uint8_t* ownMac, const uint8_t* bssid,
                  const Dot1xConfig* config) {
    LockedState sim;
    CallLine log("do_eapol_init");
    log.Int(reserved).Bytes(ownMac, 6).Bytes(bssid, 6).Piece(DescribeConfig(config));
    int adapter = AdapterOfContext(*sim, ctx);
    if (adapter < 0 || !ownMac || !bssid || !config || Refuses(*sim, adapter, "do_eapol_init")) return log.Result(-1);
    EapSession& session = sim->eap;
    session = EapSession{};
    session.active = true;
    session.adapter = adapter;
    session.generation = sim->adapters[static_cast<size_t>(adapter)].generation;
    session.ownMac = MacOf(ownMac);
    session.bssid = MacOf(bssid);
    session.config = *config;
    return log.Result(0);
}

int do_eapol_run(void) {
    kw::clock::SleepMs(kStepMs);
    LockedState sim;
    CallLine log("do_eapol_run");
    EapSession& session = sim->eap;
    if (!session.active || AnyRefuses(*sim, "do_eapol_run")) return log.Result(0);
    if (session.succeeded) return log.Result(1);
    if (++session.runs < kEapRoundTrips) return log.Result(0);
    AdapterState* state = SessionAdapter(*sim, session.adapter, session.generation);
    const WorldNetwork* network = state ? JoinedNetwork(*sim, *state) : nullptr;
    if (!network || !UsesEap(network->security) || network->bssid != session.bssid) return log.Result(0);
    auto secret = EapSecret(*sim, *network, session.config);
    if (!secret) return log.Result(0);
    session.sessionKey = EapSessionKey(*secret, session.bssid, session.ownMac);
    session.succeeded = true;
    Pmk pmk;
    std::copy_n(session.sessionKey.begin(), pmk.size(), pmk.begin());
    state->link.pmk = pmk;  // the authentication server hands it to the access point
    return log.Result(1);
}

int do_eapol_halt(void) {
    LockedState sim;
    CallLine log("do_eapol_halt");
    sim->eap.active = false;
    return log.Result(0);
}

int Get_EAP_Derived_Key(uint8_t* out128) {
    LockedState sim;
    CallLine log("Get_EAP_Derived_Key");
    if (!out128) return log.Result(-1);
    std::memset(out128, 0, 128);
    const Bytes& key = sim->eap.sessionKey;
    if (sim->eap.succeeded) std::copy_n(key.begin(), std::min<size_t>(key.size(), 128), out128);
    log.Bytes(out128, 128);
    return log.Result(0);
}

int do_eapol_start(const uint8_t* bssid, const uint8_t* ownMac) {
    LockedState sim;
    CallLine log("do_eapol_start");
    log.Bytes(bssid, 6).Bytes(ownMac, 6);
    return log.Result(bssid && ownMac ? 0 : -1);
}

int do_key_negotiation_init(AdapterContext* ctx, KeyNegotiationBlock* block) {
    LockedState sim;
    CallLine log("do_key_negotiation_init");
    log.Piece(DescribeBlock(block));
    int adapter = AdapterOfContext(*sim, ctx);
    if (adapter < 0 || !block || Refuses(*sim, adapter, "do_key_negotiation_init")) return log.Result(-1);
    NegotiationSession& session = sim->negotiation;
    session = NegotiationSession{};
    session.active = true;
    session.adapter = adapter;
    session.generation = sim->adapters[static_cast<size_t>(adapter)].generation;
    return log.Result(0);
}

int do_key_negotiation_run(KeyNegotiationBlock* block) {
    kw::clock::SleepMs(kStepMs);
    CallLine log("do_key_negotiation_run");
    log.Piece(DescribeBlock(block));
    NegotiationPlan plan;
    {
        LockedState sim;
        if (!block || AnyRefuses(*sim, "do_key_negotiation_run")) return log.Result(0);
        if (sim->negotiation.active && sim->negotiation.done) return log.Result(1);
        plan = PlanNegotiation(*sim, *block);
    }
    // The callbacks call back into the driver: the state is not locked while they run.
    if (!plan.proceed || !ElementMatches(*block, plan.expectedElement) || !block->keyCallback) return log.Result(0);
    const uint8_t receiveSequenceCounter[8] = {};
    for (const KeyToInstall& k : plan.keys) {
        block->keyCallback(receiveSequenceCounter, k.key.data(), static_cast<int>(k.key.size()), k.index, k.kind);
    }
    LockedState sim;
    sim->negotiation.done = true;
    return log.Result(1);
}

int Get_PMKID(const uint8_t* pmk32, const uint8_t* bssid, const uint8_t* ownMac, uint8_t* pmkid16) {
    LockedState sim;
    CallLine log("Get_PMKID");
    log.Bytes(pmk32, 32).Bytes(bssid, 6).Bytes(ownMac, 6);
    if (!pmk32 || !bssid || !ownMac || !pmkid16 || AnyRefuses(*sim, "Get_PMKID")) return log.Result(-1);
    auto pmkid = DerivePmkid(pmk32, bssid, ownMac);
    std::copy(pmkid.begin(), pmkid.end(), pmkid16);
    log.Bytes(pmkid16, 16);
    return log.Result(0);
}

int Get_PSK_Key_32byte(const char* passphrase, const uint8_t* ssid, int ssidLength, int iterations, uint8_t* out,
                       int outLength) {
    CallLine log("Get_PSK_Key_32byte");
    bool ssidValid = ssidLength >= 0 && ssidLength <= 32 && (ssid || ssidLength == 0);
    log.Text(passphrase, kPassphraseRoom).Bytes(ssid, ssidValid ? static_cast<size_t>(ssidLength) : 0).Int(ssidLength);
    log.Int(iterations);
    bool refused = false;
    {
        LockedState sim;
        refused = AnyRefuses(*sim, "Get_PSK_Key_32byte");
    }
    if (!passphrase || !ssidValid || !out || outLength < 1 || outLength > 64 || iterations < 1 ||
        iterations > kMaxIterations || refused) {
        return log.Int(outLength).Result(-1);
    }
    // Thousands of hash rounds: done outside the simulator's lock so driver calls go on meanwhile.
    bool done = DerivePassphraseKey(std::string_view(passphrase, strnlen(passphrase, kPassphraseRoom)), ssid,
                                    static_cast<size_t>(ssidLength), iterations, out, static_cast<size_t>(outLength));
    if (done) log.Bytes(out, static_cast<size_t>(outLength));
    return log.Int(outLength).Result(done ? 0 : -1);
}

int Shutdown_Dot1x_Module(void) {
    LockedState sim;
    CallLine log("Shutdown_Dot1x_Module");
    sim->eap = EapSession{};
    sim->negotiation = NegotiationSession{};
    return log.Result(0);
}

}  // extern "C"
