// Resource numbers and control ids of the main window (dialog 156).
#pragma once

namespace kw::mainwnd {

inline constexpr int kDialogResource = 156;
inline constexpr int kTimerId = 1;

inline constexpr int kAdapterLabel = 1430;
inline constexpr int kAdapterCombo = 1181;
inline constexpr int kModeLabel = 1441;
inline constexpr int kModeCombo = 1292;
inline constexpr int kNetworkLabel = 1244;
inline constexpr int kNetworkList = 1243;
inline constexpr int kRefreshButton = 1179;
inline constexpr int kPanelGroup = 1182;
inline constexpr int kPanelLabelFirst = 1183;  // 1183 to 1187
inline constexpr int kPanelValueFirst = 1188;  // 1188 to 1192
inline constexpr int kPanelLines = 5;
inline constexpr int kPanelChannel = 1188;
inline constexpr int kPanelType = 1189;
inline constexpr int kPanelSsid = 1190;
inline constexpr int kPanelRate = 1191;
inline constexpr int kPanelEncryption = 1192;
inline constexpr int kPanelButton = 1180;
inline constexpr int kLinkStatusLabel = 1442;
inline constexpr int kLinkStatus = 1195;
inline constexpr int kSignalLabel = 1365;
inline constexpr int kSignalBar = 1130;
inline constexpr int kSignalText = 1196;
inline constexpr int kQualityLabel = 1366;
inline constexpr int kQualityBar = 1140;
inline constexpr int kQualityText = 1197;
inline constexpr int kTxFrameLabel = 1133;
inline constexpr int kRxFrameLabel = 1134;
inline constexpr int kTxFrameText = 1198;
inline constexpr int kRxFrameText = 1199;
inline constexpr int kActivityIcon = 1410;
inline constexpr int kNotice = 1411;

// Icons: the window's large icon, the activity animation's first frame, the tray pictures.
inline constexpr int kLargeIconResource = 128;
inline constexpr int kActivityIconFirst = 175;
inline constexpr int kTrayIconResources[] = {189, 192, 193, 178, 174};
inline constexpr int kTrayConnectedA = 0;
inline constexpr int kTrayConnectedB = 1;
inline constexpr int kTrayStationIdle = 2;
inline constexpr int kTrayAccessPoint = 3;
inline constexpr int kTrayZeroConfig = 4;

// Where the window waits, off screen, until the user opens it.
inline constexpr int kOffScreen = 30000;

}  // namespace kw::mainwnd
