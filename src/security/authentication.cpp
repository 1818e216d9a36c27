#include "src/security/authentication.h"

#include <unistd.h>

#include <atomic>
#include <cstring>

#include "platform/clock.h"
#include "platform/text.h"
#include "platform/ui/message_box.h"
#include "src/config/program_config.h"
#include "src/device/adapter_context.h"
#include "src/device/dot1x.h"
#include "src/device/kwwlan.h"
#include "src/device/zero_config.h"
#include "src/security/supplicant_workers.h"
#include "src/settings/appliers.h"
#include "src/settings/restore.h"
#include "src/settings/setting_keys.h"
#include "src/settings/setting_store.h"

namespace kw {

namespace {

constexpr size_t kTextRoom = 256;
constexpr size_t kCertificateNameUnits = 255;
constexpr size_t kPassphraseChars = 64;
constexpr int kPskKeyBytes = 32;

// Shared by the user-interface thread (start, stop) and the worker (polls the run flag). The
// thread object itself is only touched by the user-interface thread.
std::atomic<bool> g_runFlag{false};
std::atomic<bool> g_zeroConfigStopped{false};
clock::Thread g_worker;

void JoinWorker() {
    g_worker.Join();
}

std::string StoredSsidBytes() { return SsidBytes(ReadSettingText(OperationMode(), key::kSsid)); }

void ApplyStoredNetwork(const std::string& ssid) {
    AdapterContext* ctx = Adapter();
    ApplyAuthenticationMode(ctx, ReadSettingNumber(key::kAuthenticationMode));
    ApplyEncryptionStatus(ctx, ReadSettingNumber(key::kWepStatus));
    ApplySsid(ctx, reinterpret_cast<const uint8_t*>(ssid.data()), static_cast<int>(ssid.size()));
}

std::u16string CertificateName(std::u16string_view key) {
    std::u16string name = ReadSettingText(OperationMode(), key);
    if (name.size() > kCertificateNameUnits) name.resize(kCertificateNameUnits);
    return name;
}

enum class Method { Tls, Peap, Ttls };

// Certificate files for the method's row; false when one could not be made.
bool PrepareCertificateFiles(Method method) {
    std::u16string subject = CertificateName(key::kDot1xCertSubject);
    std::u16string issuer = CertificateName(key::kDot1xCertIssuer);
    if (method == Method::Tls) {
        if (genMyCertFile(subject.c_str(), issuer.c_str()) != 0) {
            // Shown from this thread: the user-interface thread may be waiting for it to end.
            ui::ShowMessageBox(nullptr, FromUtf8(kExportFailedText), u"", ui::MessageBoxButtons::Ok);
            return false;
        }
        return genMySSLFile() == 0;
    }
    return genROOTCertFile(subject.c_str(), issuer.c_str()) == 0 && genROOTSSLFile() == 0;
}

using TlsWorker = void (*)(const char*, uint8_t);
using PeapWorker = void (*)(const char*, const char*, uint8_t);
using TtlsWorker = void (*)(const char*, const char*, const char*, uint8_t);

struct EapFamily {
    TlsWorker tls;
    PeapWorker peap;
    TtlsWorker ttls;
};

int RunEapWorker(const EapFamily& family, uint8_t validate) {
    int protocol = ReadSettingNumber(key::kDot1xProtocol);
    if (protocol < 0 || protocol > 2) return 1;
    Method method = static_cast<Method>(protocol);
    if (!PrepareCertificateFiles(method)) return 1;
    std::string user = NarrowText(ReadSettingText(OperationMode(), key::kDot1xUsername), kTextRoom);
    std::string password = NarrowText(ReadSettingText(OperationMode(), key::kDot1xPassword), kTextRoom);
    std::string phase2 = NarrowText(ReadSettingText(OperationMode(), key::kDot1xPhase2Auth), kTextRoom);
    switch (method) {
        case Method::Tls: family.tls(user.c_str(), validate); break;
        case Method::Peap: family.peap(user.c_str(), password.c_str(), validate); break;
        case Method::Ttls: family.ttls(user.c_str(), password.c_str(), phase2.c_str(), validate); break;
    }
    return 0;
}

int RunPskWorker(void (*worker)(const char*, const uint8_t*, int), const std::string& ssid) {
    PreSharedKey key = PreparePreSharedKey(ReadSettingText(OperationMode(), key::kDot1xPassphrase),
                                           ReadSettingNumber(key::kDot1xPassphraseFormat));
    worker(ssid.c_str(), key.bytes, key.format);
    return 0;
}

void EnterProgramDirectory() {
    std::string directory = Paths().directory;
    if (!directory.empty() && ::chdir(directory.c_str()) != 0) {
        // Certificate files then land in the current directory; the worker still runs.
    }
}

}  // namespace

bool AuthenticationWanted() { return g_runFlag; }
bool ZeroConfigStoppedForAuthentication() { return g_zeroConfigStopped; }

void StartAuthentication() {
    if (g_runFlag) g_runFlag = false;
    JoinWorker();
    g_runFlag = true;
    if (QueryWL_CheckWZCStatus(Adapter()) != kZeroConfigLeavesAlone) {
        g_zeroConfigStopped = true;
        KWStopWZCService();
    }
    g_worker = clock::Thread([] { AuthenticationLauncher(); });
}

void StopAuthentication() {
    if (!g_runFlag) return;
    g_runFlag = false;
    JoinWorker();
    if (g_zeroConfigStopped.exchange(false)) KWStartWZCService();
}

int AuthenticationLauncher() {
    AdapterContext* ctx = Adapter();
    if (QueryWL_ConnectState(ctx) != 0) ForceReassociation();
    EnterProgramDirectory();
    std::string ssid = StoredSsidBytes();
    uint8_t validate = static_cast<uint8_t>(ReadSettingNumber(key::kDot1xValidateServerCertificate) & 0xFF);

    static const EapFamily kDot1x{DoDot1xTls, DoDot1xPeap, DoDot1xTtls};
    static const EapFamily kWpa{DoWpaTls, DoWpaPeap, DoWpaTtls};
    static const EapFamily kWpa2{DoWpa2Tls, DoWpa2Peap, DoWpa2Ttls};
    switch (ReadSettingNumber(key::kAuthenticationMode)) {
        case kAuthOpen:
        case kAuthAutoSwitch: return RunEapWorker(kDot1x, validate);
        case kAuthWpa: return RunEapWorker(kWpa, validate);
        case kAuthWpaPsk:
        case kAuthWpaNone: return RunPskWorker(DoWpaPsk, ssid);
        case kAuthWpa2: return RunEapWorker(kWpa2, validate);
        case kAuthWpa2Psk: return RunPskWorker(DoWpa2Psk, ssid);
        default: return 1;
    }
}

void ForceReassociation() {
    std::string ssid = StoredSsidBytes();
    SendThrowAwaySsid(Adapter());
    ApplyStoredNetwork(ssid);
}

void ReapplyNetwork() { ApplyStoredNetwork(StoredSsidBytes()); }

std::string NarrowText(std::u16string_view text, size_t room) {
    std::string narrow = LowBytes(text);
    if (room > 0 && narrow.size() > room - 1) narrow.resize(room - 1);
    return narrow;
}

PreSharedKey PreparePreSharedKey(std::u16string_view storedPassphrase, int storedFormat) {
    PreSharedKey key;
    std::string text = NarrowText(storedPassphrase, kPassphraseChars + 1);
    if (storedFormat == 1) {
        int count = 0;
        int pending = -1;
        for (char c : text) {
            if (c == ' ' || c == '\t') continue;
            int digit = HexDigitValue(static_cast<unsigned char>(c));
            if (digit < 0 || count == kPskKeyBytes) break;
            if (pending < 0) {
                pending = digit;
            } else {
                key.bytes[count++] = static_cast<uint8_t>(pending * 16 + digit);
                pending = -1;
            }
        }
        key.format = 1;
        return key;
    }
    if (text.size() < 8 || text.size() > 63) text = kDefaultPassphrase;
    std::memcpy(key.bytes, text.data(), text.size());
    key.format = 0;
    return key;
}

}  // namespace kw
