#include "casefile/ByteReader.h"

#include <bit>

bool ByteReader::getInt16(int16_t& v)
{
    if (remaining() < 2)
        return false;
    auto lo = static_cast<unsigned char>(bytes_[pos_]);
    auto hi = static_cast<unsigned char>(bytes_[pos_ + 1]);
    v = static_cast<int16_t>(static_cast<uint16_t>(lo | (hi << 8)));
    pos_ += 2;
    return true;
}

bool ByteReader::getReal(double& v)
{
    if (remaining() < 8)
        return false;
    uint64_t u = 0;
    for (int i = 7; i >= 0; --i)
        u = (u << 8) | static_cast<unsigned char>(bytes_[pos_ + static_cast<size_t>(i)]);
    v = std::bit_cast<double>(u);
    pos_ += 8;
    return true;
}

bool ByteReader::getBytes(size_t n, std::string& out)
{
    if (remaining() < n)
        return false;
    out.assign(bytes_.substr(pos_, n));
    pos_ += n;
    return true;
}

bool ByteReader::skip(size_t n)
{
    if (remaining() < n)
        return false;
    pos_ += n;
    return true;
}
