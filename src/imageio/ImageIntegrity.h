#pragma once

#include <optional>
#include <string>
#include <string_view>

// Checks that a BMP or JPEG file holds all the pixel data its header
// promises. Qt's decoders fill a short file with grey or garbage and at most
// warn on the console; a film measured like that would be wrong.
namespace ImageIntegrity {

// Why the file is damaged, or std::nullopt when it is whole (or of another
// kind, or a variant whose length cannot be told from its header).
std::optional<std::string> bmpDamage(std::string_view bytes);
std::optional<std::string> jpegDamage(std::string_view bytes);

} // namespace ImageIntegrity
