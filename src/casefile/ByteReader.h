#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// Reads little-endian items from bytes held in memory. Every read fails,
// consuming nothing, when fewer bytes remain than the item needs; callers
// can therefore check a count against remaining() before they trust it.
class ByteReader {
public:
    explicit ByteReader(std::string_view bytes) : bytes_(bytes) {}

    bool getInt16(int16_t& v);
    bool getReal(double& v);
    bool getBytes(size_t n, std::string& out);
    bool skip(size_t n);

    size_t remaining() const { return bytes_.size() - pos_; }
    bool atEnd() const { return pos_ == bytes_.size(); }

private:
    std::string_view bytes_;
    size_t pos_ = 0;
};
