#include "casefile/ByteWriter.h"

#include <bit>

void ByteWriter::putInt16(int16_t v)
{
    auto u = static_cast<uint16_t>(v);
    bytes_.push_back(static_cast<char>(u & 0xFF));
    bytes_.push_back(static_cast<char>(u >> 8));
}

void ByteWriter::putReal(double v)
{
    auto u = std::bit_cast<uint64_t>(v);
    for (int i = 0; i < 8; ++i)
        bytes_.push_back(static_cast<char>((u >> (8 * i)) & 0xFF));
}
