#include "platform/ip_helper.h"

#include <net/if.h>

#include <mutex>

namespace kw::ip {

namespace {
std::mutex g_mutex;
std::vector<std::string> g_requests;

void Record(std::string line) {
    std::lock_guard lock(g_mutex);
    g_requests.push_back(std::move(line));
}
}  // namespace

std::vector<InterfaceEntry> InterfaceList() {
    std::vector<InterfaceEntry> list;
    if (struct if_nameindex* names = ::if_nameindex()) {
        for (struct if_nameindex* n = names; n->if_index != 0 && n->if_name != nullptr; ++n) {
            list.push_back({n->if_index, n->if_name});
        }
        ::if_freenameindex(names);
    }
    return list;
}

bool IpReleaseAddress(const InterfaceEntry& entry) {
    Record("release " + entry.name);
    return true;
}

bool IpRenewAddress(const InterfaceEntry& entry) {
    Record("renew " + entry.name);
    return true;
}

std::vector<std::string> AddressRequests() {
    std::lock_guard lock(g_mutex);
    return g_requests;
}

void ClearAddressRequests() {
    std::lock_guard lock(g_mutex);
    g_requests.clear();
}

}  // namespace kw::ip
