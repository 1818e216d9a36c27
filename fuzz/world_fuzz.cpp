// The world file reader on any bytes: a world it accepts stays inside the file's limits.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "fuzz/fuzz_files.h"
#include "sim/world.h"
#include "sim/world_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string path = kwfuzz::ScratchFolder() + "/world.ini";
    kwfuzz::WriteVersion(path, data, size);
    kw::sim::World world;
    if (!kw::sim::ReadWorldFile(path, world)) return 0;
    if (world.adapters.size() > kw::sim::kMaxAdapters || world.networks.size() > kw::sim::kMaxNetworks ||
        world.stations.size() > kw::sim::kMaxStations || world.certificates.size() > kw::sim::kMaxCertificates) {
        std::abort();
    }
    return 0;
}
