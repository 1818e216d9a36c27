#include "sim/world.h"

namespace kw::sim {

bool NeedsKeys(Security security) { return security != Security::Open && security != Security::Wep; }

bool UsesEap(Security security) {
    return security == Security::WpaEap || security == Security::Wpa2Eap || security == Security::MixedEap ||
           security == Security::Dot1xWep;
}

bool OffersWpa(Security security) {
    return security == Security::WpaPsk || security == Security::WpaEap || security == Security::MixedPsk ||
           security == Security::MixedEap || security == Security::WpaNone;
}

bool OffersRsn(Security security) {
    return security == Security::Wpa2Psk || security == Security::Wpa2Eap || security == Security::MixedPsk ||
           security == Security::MixedEap;
}

bool IsFiveGigahertz(uint32_t frequencyKhz) { return frequencyKhz >= 4000000; }

int ChannelOfFrequency(uint32_t frequencyKhz) {
    int mhz = static_cast<int>(frequencyKhz / 1000);
    if (mhz == 2484) return 14;
    if (mhz >= 2412 && mhz < 2484) return (mhz - 2412) / 5 + 1;
    if (mhz >= 5000) return (mhz - 5000) / 5;
    if (mhz >= 4000) return (mhz - 4000) / 5;
    return 0;
}

}  // namespace kw::sim
