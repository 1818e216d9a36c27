// The system's IP address functions: the interface list, and releasing and renewing the address
// of one interface. This platform leaves addresses to its own network manager, so release and
// renew only record that they were asked.
#pragma once

#include <string>
#include <vector>

namespace kw::ip {

struct InterfaceEntry {
    unsigned index = 0;
    std::string name;
};

// The system's network interfaces in index order.
std::vector<InterfaceEntry> InterfaceList();
bool IpReleaseAddress(const InterfaceEntry& entry);
bool IpRenewAddress(const InterfaceEntry& entry);

// What was asked of release and renew, "release NAME" / "renew NAME" (for tests).
std::vector<std::string> AddressRequests();
void ClearAddressRequests();

}  // namespace kw::ip
