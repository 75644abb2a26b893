#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// Builds a little-endian byte image in memory; the caller writes it out
// whole, so a failure can never leave half a file behind.
class ByteWriter {
public:
    void putInt16(int16_t v);
    void putReal(double v);
    void putBytes(std::string_view bytes) { bytes_.append(bytes); }

    const std::string& bytes() const { return bytes_; }

private:
    std::string bytes_;
};
