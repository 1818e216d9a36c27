// The initialisation-file reader on any bytes, as an 8-bit and as a UTF-16 file: values fit the
// caller's room, and the number read is the number at the start of the text read.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "fuzz/fuzz_files.h"
#include "platform/ini.h"
#include "platform/text.h"

namespace {

void Check(const std::string& path) {
    constexpr size_t kRoom = 1 << 16;
    for (const char16_t* key : {u"K", u"Name", u""}) {
        std::u16string text = kw::ReadIniText(path, u"S", key, u"\x1Fmissing", kRoom);
        if (text.size() >= kRoom) std::abort();
        if (kw::ReadIniText(path, u"S", key, u"\x1Fmissing", 4).size() > 3) std::abort();
        int number = kw::ReadIniInt(path, u"S", key, 12345);
        if (text == u"\x1Fmissing") {
            if (number != 12345) std::abort();
        } else if (text.size() < kRoom - 1 &&
                   number != static_cast<int>(static_cast<uint32_t>(static_cast<uint64_t>(kw::ParseLeadingInt(text))))) {
            std::abort();
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string eightBit = kwfuzz::ScratchFolder() + "/a.ini";
    const std::string wide = kwfuzz::ScratchFolder() + "/u.ini";
    kwfuzz::WriteVersion(eightBit, data, size);
    std::string withMark = "\xFF\xFE" + std::string(reinterpret_cast<const char*>(data), size);
    kwfuzz::WriteVersion(wide, reinterpret_cast<const uint8_t*>(withMark.data()), withMark.size());
    Check(eightBit);
    Check(wide);
    return 0;
}
