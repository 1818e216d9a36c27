// The supplicant workers: each keeps one authenticated link alive (wait for the association, EAP,
// key negotiation, key installation) and starts over after every loss of the link, until the
// run flag is cleared. They return only then.
#pragma once

#include <cstddef>
#include <cstdint>

namespace kw {

void DoDot1xTls(const char* userName, uint8_t validate);
void DoDot1xPeap(const char* userName, const char* password, uint8_t validate);
void DoDot1xTtls(const char* userName, const char* password, const char* phase2Method, uint8_t validate);
void DoWpaTls(const char* userName, uint8_t validate);
void DoWpaPeap(const char* userName, const char* password, uint8_t validate);
void DoWpaTtls(const char* userName, const char* password, const char* phase2Method, uint8_t validate);
void DoWpa2Tls(const char* userName, uint8_t validate);
void DoWpa2Peap(const char* userName, const char* password, uint8_t validate);
void DoWpa2Ttls(const char* userName, const char* password, const char* phase2Method, uint8_t validate);
// key: a NUL-terminated pass phrase, or 32 key bytes when keyFormat is 1.
void DoWpaPsk(const char* ssid, const uint8_t* key, int keyFormat);
void DoWpa2Psk(const char* ssid, const uint8_t* key, int keyFormat);

}  // namespace kw
