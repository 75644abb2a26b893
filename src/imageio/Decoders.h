#pragma once

#include "image/RadiographInfo.h"

#include <cstdint>
#include <string>
#include <string_view>

class CBitmap;

// The two decoders behind RadiographFile; `into` null asks for the header only.
namespace Decoders {

bool dicom(const std::string& path, CBitmap* into, RadiographInfo& info, std::string& error);
bool qtImage(const std::string& path, std::string_view bytes, CBitmap* into, RadiographInfo& info,
             std::string& error);

// True when `bytes` more can be allocated without exhausting the memory.
bool enoughMemory(uint64_t bytes);

} // namespace Decoders
