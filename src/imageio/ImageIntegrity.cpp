#include "imageio/ImageIntegrity.h"

#include <cstdint>
#include <cstdlib>

namespace ImageIntegrity {

namespace {

uint32_t le(std::string_view b, size_t at, int n)
{
    uint32_t v = 0;
    for (int i = n - 1; i >= 0; --i)
        v = (v << 8) | uint8_t(b[at + size_t(i)]);
    return v;
}

uint32_t be16(std::string_view b, size_t at)
{
    return (uint32_t(uint8_t(b[at])) << 8) | uint8_t(b[at + 1]);
}

constexpr const char* kEndsEarly = "the image data end before the picture is complete";

} // namespace

std::optional<std::string> bmpDamage(std::string_view b)
{
    if (b.size() < 26 || b.substr(0, 2) != "BM")
        return std::nullopt;
    const uint64_t offset = le(b, 10, 4);
    const uint32_t infoSize = le(b, 14, 4);
    int64_t width = 0;
    int64_t height = 0;
    uint32_t bitCount = 0;
    uint32_t compression = 0;
    if (infoSize == 12) { // the old core header
        width = int16_t(le(b, 18, 2));
        height = int16_t(le(b, 20, 2));
        bitCount = le(b, 24, 2);
    } else if (infoSize >= 40 && b.size() >= 34) {
        width = int32_t(le(b, 18, 4));
        height = int32_t(le(b, 22, 4));
        bitCount = le(b, 28, 2);
        compression = le(b, 30, 4);
    } else {
        return std::nullopt;
    }
    // Run-length and embedded JPEG/PNG data have no fixed length.
    constexpr uint32_t kRgb = 0;
    constexpr uint32_t kBitfields = 3;
    constexpr uint32_t kAlphaBitfields = 6;
    if (compression != kRgb && compression != kBitfields && compression != kAlphaBitfields)
        return std::nullopt;
    if (width <= 0 || height == 0 || bitCount == 0 || bitCount > 32)
        return std::nullopt;
    const uint64_t rowBytes = (uint64_t(width) * bitCount + 31) / 32 * 4;
    const uint64_t needed = offset + rowBytes * uint64_t(std::llabs(height));
    if (b.size() < needed)
        return std::string(kEndsEarly);
    return std::nullopt;
}

std::optional<std::string> jpegDamage(std::string_view b)
{
    if (b.size() < 4 || uint8_t(b[0]) != 0xFF || uint8_t(b[1]) != 0xD8)
        return std::nullopt;
    // Walk the marker segments; after each start of scan, skip the
    // entropy-coded data (where 0xFF is followed by 0x00 or a restart marker)
    // up to the next marker. The end-of-image marker must be reached.
    size_t i = 2;
    while (i + 1 < b.size()) {
        if (uint8_t(b[i]) != 0xFF)
            return std::string("the JPEG markers are broken");
        const uint8_t marker = uint8_t(b[i + 1]);
        if (marker == 0xFF) { // fill byte
            ++i;
            continue;
        }
        if (marker == 0xD9)
            return std::nullopt;
        if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7)) { // no length
            i += 2;
            continue;
        }
        if (i + 3 >= b.size())
            break;
        const size_t length = be16(b, i + 2);
        if (length < 2)
            return std::string("the JPEG markers are broken");
        i += 2 + length;
        if (marker != 0xDA)
            continue;
        while (i + 1 < b.size()) {
            if (uint8_t(b[i]) == 0xFF) {
                const uint8_t next = uint8_t(b[i + 1]);
                if (next != 0x00 && !(next >= 0xD0 && next <= 0xD7))
                    break;
            }
            ++i;
        }
    }
    return std::string(kEndsEarly);
}

} // namespace ImageIntegrity
