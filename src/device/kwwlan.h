// The driver-access library. Every call but the list and system calls takes the adapter context
// first and needs an adapter opened with KwOpenAdapter.
//
// Results: setters and buffer getters give 0 on success and -1 on failure; value getters give the
// value or -1 (a negative value for the channel and the encryption status); KwOpenAdapter and the
// system queries give nonzero for success / true. Value codes are those of the setting table.
#pragma once

#include <cstdint>

#include "src/device/records.h"

extern "C" {

// ----- Adapter lists (no context): the number of entries written, 0 none, -1 failure.
int CreateAllNICAdapterList(AdapterListEntry* entries, int room);
int CreateNICAdapterList(AdapterListEntry* entries, int room);

// ----- Open and close. Open reads the device name from the context and sets its handle.
int KwOpenAdapter(AdapterContext* ctx);  // nonzero: opened
int KwCloseAdapter(AdapterContext* ctx);

// ----- Identity.
int QueryWL_DriverVersion(AdapterContext* ctx);  // -1: the adapter is gone
int Query_KWDriverInfo(AdapterContext* ctx, DriverInfo* info);
int GetNICAdapterMAC(AdapterContext* ctx, uint8_t* mac6);

// ----- Value getters.
int QueryWL_ConnectState(AdapterContext* ctx);  // 0 connected, 1 not connected
int QueryWL_NetworkType(AdapterContext* ctx);
int QueryWL_Channel(AdapterContext* ctx);
int QueryWL_CurrentLinkSpeed(AdapterContext* ctx);  // kbit/s
int QueryWL_WEPStatus(AdapterContext* ctx);
int QueryWL_RSSI(AdapterContext* ctx);  // dBm
int QueryWL_CommQuality(AdapterContext* ctx);
int QueryWL_OperationMode_STA_AP(AdapterContext* ctx);
int QueryWL_AuthenticationMode(AdapterContext* ctx);
int QueryWL_PSMode(AdapterContext* ctx);
int QueryWL_FragmentationThreshold(AdapterContext* ctx);
int QueryWL_RTS_CTS_Threshold(AdapterContext* ctx);
int QueryWL_MultiDomainCapability(AdapterContext* ctx);
int QueryWL_OperationRegionCode(AdapterContext* ctx);
int QueryWL_802_11_NetworkTypeInUse(AdapterContext* ctx);
int QueryWL_KWWirelessMode(AdapterContext* ctx);  // 2 5 GHz, 3 2.4 GHz, 4 dual band
int QueryWL_KWAdhocMode(AdapterContext* ctx);     // 0 802.11b rates, 1 all, 2 OFDM rates

// ----- Buffer getters.
int QueryWL_SSID(AdapterContext* ctx, uint8_t* ssid32);  // the SSID length, or -1
int QueryWL_BSSID(AdapterContext* ctx, uint8_t* bssid6);
int QueryWL_SupportedRate(AdapterContext* ctx, uint8_t* rates16);
// 2.4 GHz channels, the separator 255, then 5 GHz channels; the count written, or -1.
int QueryWL_SupportChannel(AdapterContext* ctx, uint8_t* channels, int room);
int QueryWL_UISupportTxRate(AdapterContext* ctx, uint8_t* rates, int room);  // the count written, or -1
int GetTxRxFrameCount(AdapterContext* ctx, uint32_t* transmitted, uint32_t* received);

// ----- Setters: 0 accepted, -1 refused.
int SetWL_SSID(AdapterContext* ctx, const uint8_t* ssid, int length);  // length 0 to 32
int SetWL_BSSID(AdapterContext* ctx, const uint8_t* bssid6);
int SetWL_NetworkType(AdapterContext* ctx, int type);
int SetWL_802_11_NetworkTypeInUse(AdapterContext* ctx, int type);
int SetWL_Channel(AdapterContext* ctx, int channel);
int SetWL_AuthenticationMode(AdapterContext* ctx, int mode);
int SetWL_WEPStatus(AdapterContext* ctx, int status);
// Key bytes: 5, 13 or 29 for length index 0, 1, 2 (any other index: 5).
int SetWL_WriteKey(AdapterContext* ctx, int keyIndex, int lengthIndex, int isDefault, const uint8_t* key);
int SetWL_DesiredRate(AdapterContext* ctx, const uint8_t* rates16);
int SetWL_PSMode(AdapterContext* ctx, int mode);
int SetWL_FragmentationThreshold(AdapterContext* ctx, int bytes);
int SetWL_RTS_CTS_Threshold(AdapterContext* ctx, int bytes);
int SetWL_PreambleMode(AdapterContext* ctx, int mode);
int SetWL_MultiDomainCapability(AdapterContext* ctx, int capability);
int SetWL_OperationRegionCode(AdapterContext* ctx, int region);
int SetWL_RegionAndSupportChannel(AdapterContext* ctx, int region);
int SetWL_SupportChannel(AdapterContext* ctx, const uint8_t* channels, int count);
int SetWL_KWWirelessMode(AdapterContext* ctx, int mode);
int SetWL_KWPSPXLinkMode(AdapterContext* ctx, int mode);
int SetWL_KWWMMQosMode(AdapterContext* ctx, int mode);
int SetWL_ApWirelessMode(AdapterContext* ctx, int mode);
int SetWL_ApProtectionMode(AdapterContext* ctx, int mode);
int SetWLAP_HideSSIDState(AdapterContext* ctx, int hide);
int SetWLAP_TxPowerLevel(AdapterContext* ctx, int level);
int SetWLAP_FilterMode(AdapterContext* ctx, int mode);
int SetWLAP_FilterList(AdapterContext* ctx, const uint8_t* list, int size);  // a MacList, size 112
int SetWL_OperationMode_STA_AP(AdapterContext* ctx, int mode);               // 0 station, 1 access point

// ----- Survey and stations.
int WL_SiteSurveyStart(AdapterContext* ctx);
int WL_RetrieveSiteSurveyData(AdapterContext* ctx, uint8_t* buffer, int size);
int WL_RetrieveStationList(AdapterContext* ctx, uint8_t* buffer, int size);  // a MacList, size 112

// ----- Raw requests (codes and buffers in records.h).
int ReadOid(AdapterContext* ctx, uint32_t code, uint8_t* buffer, int size);
int WriteOid(AdapterContext* ctx, uint32_t code, const uint8_t* buffer, int size);

// ----- Zero Configuration.
int QueryWL_CheckWZCStatus(AdapterContext* ctx);
int SetWL_WZCStatus(AdapterContext* ctx, int status);
int SetWL_KWUseKWXOidState(AdapterContext* ctx, int state);
int KWStopWZCService(void);
int KWStartWZCService(void);

// ----- System (no context): nonzero = true.
int KW_GetOSVersion(void);
int QueryWL_IsWindows95(void);
int QueryWL_IsWindows2000(void);
int CheckOSWinNT(void);
int IsAdmin(void);
int NonAdminUserEnabler(void);
int Query_FixWindisPnPBug(void);

}  // extern "C"
