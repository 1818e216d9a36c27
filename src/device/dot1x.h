// The supplicant library: EAP (TLS, PEAP, TTLS), WPA / WPA2 key negotiation and the user's
// personal certificates. 8-bit texts unless marked UTF-16; addresses are 6 bytes. The callback
// types of the key negotiation (KeyInstallCallback, ElementCallback) live in records.h with the
// block that carries them.
#pragma once

#include <cstdint>

#include "src/device/records.h"

extern "C" {

// ----- Personal certificates. Files are written into the current directory.
// Fills at most kCertListCapacity entries of a zero-filled list; the count.
int getMyCertList(CertListEntry* list);
// Writes the subject alternative name into out (kSubjectAltNameRoom units, NUL-terminated).
int getMyCertSubjectAltName(const char16_t* subject, const char16_t* issuer, char16_t* out);
// 0: the certificate and its private key were exported; nonzero: the key is not exportable.
int genMyCertFile(const char16_t* subject, const char16_t* issuer);
// 0: the client certificate and key files were written.
int genMySSLFile(void);
// 0: the certificate-authority file was written.
int genROOTCertFile(const char16_t* subject, const char16_t* issuer);
int genROOTSSLFile(void);

// ----- EAP.
int do_eapol_init(AdapterContext* ctx, int reserved, const uint8_t* ownMac, const uint8_t* bssid,
                  const Dot1xConfig* config);
int do_eapol_run(void);  // nonzero: authenticated; 0: not yet
int do_eapol_halt(void);
int Get_EAP_Derived_Key(uint8_t* out128);  // the first 32 bytes are the pairwise master key
int do_eapol_start(const uint8_t* bssid, const uint8_t* ownMac);

// ----- Key negotiation: keys are installed through the block's callbacks.
int do_key_negotiation_init(AdapterContext* ctx, KeyNegotiationBlock* block);
int do_key_negotiation_run(KeyNegotiationBlock* block);

// ----- Key derivation (IEEE 802.11i).
int Get_PMKID(const uint8_t* pmk32, const uint8_t* bssid, const uint8_t* ownMac, uint8_t* pmkid16);
int Get_PSK_Key_32byte(const char* passphrase, const uint8_t* ssid, int ssidLength, int iterations, uint8_t* out,
                       int outLength);

int Shutdown_Dot1x_Module(void);

}  // extern "C"
