// The setting keys of the two store branches and their value codes, defined once.
#pragma once

namespace kw::key {

inline constexpr char16_t kSsid[] = u"SSID";
inline constexpr char16_t kNetworkType[] = u"NetworkType";
inline constexpr char16_t kWirelessMode[] = u"WirelessMode";
inline constexpr char16_t kChannel[] = u"Channel";
inline constexpr char16_t kAuthenticationMode[] = u"AuthenticationMode";
inline constexpr char16_t kWepStatus[] = u"WEPStatus";
inline constexpr char16_t kWepKeyLength[] = u"WEPKeyLength";
inline constexpr char16_t kWepDefaultKeyId[] = u"WEPDefaultKeyId";
inline constexpr char16_t kWepKeyFormat[] = u"WEPKeyFormat";
inline constexpr char kWepKeyRecordPrefix[] = "WEPKey";  // "%s%d_%d": prefix, bits, index
inline constexpr char16_t kPowerSaveMode[] = u"PowerSaveMode";
inline constexpr char16_t kFragmentationThreshold[] = u"FragmentationThreshold";
inline constexpr char16_t kRtsThreshold[] = u"RTSThreshold";
inline constexpr char16_t kPreambleMode[] = u"PreambleMode";
inline constexpr char16_t kDesiredRate[] = u"DesiredRate";
inline constexpr char16_t kStaTxRate[] = u"STATxRate";
inline constexpr char16_t kMultiDomainCapability[] = u"MultiDomainCapability";
inline constexpr char16_t kOperationRegion[] = u"OperationRegion";
inline constexpr char16_t kPspXLinkMode[] = u"PSPXLinkMode";
inline constexpr char16_t kWmmQosMode[] = u"WMMQosMode";
inline constexpr char16_t kHideSsid[] = u"HideSSID";
inline constexpr char16_t kApWirelessMode[] = u"ApWirelessMode";
inline constexpr char16_t kApProtectionMode[] = u"ApProtectionMode";
inline constexpr char16_t kTxPowerLevel[] = u"TxPowerLevel";
inline constexpr char16_t kMacFilterMode[] = u"MACFilterMode";
inline constexpr char kMacFilterAddrPrefix[] = "MACFilterAddr";  // "%s%d": prefix, 0..15
inline constexpr char16_t kBridgeAdapter[] = u"BridgeAdapter";
inline constexpr char16_t kDot1xRc4Wep[] = u"Dot1xRC4WEP";
inline constexpr char16_t kDot1xProtocol[] = u"Dot1xProtocol";
inline constexpr char16_t kDot1xUsername[] = u"Dot1xUsername";
inline constexpr char16_t kDot1xPassword[] = u"Dot1xPassword";
inline constexpr char16_t kDot1xPhase2Auth[] = u"Dot1xPhase2Auth";
inline constexpr char16_t kDot1xValidateServerCertificate[] = u"Dot1xValidateServerCertificate";
inline constexpr char16_t kDot1xCertSubject[] = u"Dot1xCertSubject";
inline constexpr char16_t kDot1xCertIssuer[] = u"Dot1xCertIssuer";
inline constexpr char16_t kDot1xPassphrase[] = u"Dot1xPassphrase";
inline constexpr char16_t kDot1xPassphraseFormat[] = u"Dot1xPassphraseFormat";

}  // namespace kw::key

namespace kw {

// Operating modes: they select the store branch.
inline constexpr int kModeStation = 0;
inline constexpr int kModeAccessPoint = 1;

// "NetworkType"
inline constexpr int kNetTypeAdHoc = 0;
inline constexpr int kNetTypeInfrastructure = 1;
inline constexpr int kNetTypeWds = 2;
inline constexpr int kNetTypePseudoIbss = 3;

// "AuthenticationMode"
inline constexpr int kAuthOpen = 0;
inline constexpr int kAuthShared = 1;
inline constexpr int kAuthAutoSwitch = 2;
inline constexpr int kAuthWpa = 3;
inline constexpr int kAuthWpaPsk = 4;
inline constexpr int kAuthWpaNone = 5;
inline constexpr int kAuthWpa2 = 6;
inline constexpr int kAuthWpa2Psk = 7;

// "WEPStatus"
inline constexpr int kWepEnabled = 0;
inline constexpr int kWepDisabled = 1;
inline constexpr int kWepKeyAbsent = 2;
inline constexpr int kWepNotSupported = 3;
inline constexpr int kTkipEnabled = 4;
inline constexpr int kTkipKeyAbsent = 5;
inline constexpr int kAesEnabled = 6;
inline constexpr int kAesKeyAbsent = 7;

// "WirelessMode": the 802.11 network type in use.
inline constexpr int kBandOfdm5 = 2;
inline constexpr int kBandOfdm24 = 3;
inline constexpr int kBandAutomatic = 4;

// Thresholds: the top values mean off.
inline constexpr int kFragmentationOff = 2346;
inline constexpr int kRtsOff = 2347;

inline constexpr int kDesiredRateBytes = 16;

}  // namespace kw
