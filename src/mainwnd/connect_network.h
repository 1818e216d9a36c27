// Joining a network from the survey list: the network's advertised security picks the path
// (WPA2, WPA, WPA-None, or WEP / open), every choice goes through the appliers, so it is also
// stored, and the user may keep the stored security settings or edit them first.
#pragma once

#include <cstdint>

#include "src/mainwnd/network_elements.h"

namespace kw {

namespace ui {
class CWnd;
}
struct SurveyNetwork;

enum class ConnectPath { Wpa2, Wpa, WpaNone, WepOrOpen };

// The channel handed to the driver for a centre frequency in kHz.
int ConnectChannel(uint32_t frequencyKhz);
// First match wins; the configuration's WPAMode and WPA2Mode switch the protected paths on.
ConnectPath ChooseConnectPath(const NetworkSecurity& security, uint32_t infrastructureMode);

// Puts the network's channel, radio, BSSID, name and security path into the driver, asks the
// question of its path (owner: the window the message box belongs to), starts authentication
// where the path needs it and sets the desired rates.
void JoinNetwork(const SurveyNetwork& network, const ui::CWnd* owner);

}  // namespace kw
