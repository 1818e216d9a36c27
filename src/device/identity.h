// What adapter identification found out, read by the rest of the program. The chip-mode text and
// the adapter key form every setting path and are read from the authentication thread too.
#pragma once

#include <string>

namespace kw {

// Starts as the configured ReleaseChipMode; becomes the chip model name once an adapter is identified.
std::u16string ReleaseChipMode();
void SetReleaseChipMode(std::u16string_view text);

// The chip model name of the open adapter, which names its setting branch; until an adapter is
// opened, ReleaseChipMode. Unlike ReleaseChipMode it does not follow the last adapter identified.
std::u16string AdapterChipModel();
void SetAdapterChipModel(std::u16string_view text);

// The open adapter's four-digit class instance key (8-bit text, e.g. "0007").
std::string AdapterKey();
void SetAdapterKey(std::string_view key);

// Adapter family 1 to 4 (default 1).
int DeviceKind();
void SetDeviceKind(int kind);

// 1 when opening the adapter's class key for full access was refused.
int ClassKeyAccessFlag();
void SetClassKeyAccessFlag(int flag);

}  // namespace kw
