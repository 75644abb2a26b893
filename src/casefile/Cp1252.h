#pragma once

#include <optional>
#include <string>
#include <string_view>

// Texts of the case files and the report are Windows-1252 on disk and UTF-8 in
// memory. The five bytes that Windows-1252 leaves undefined (81, 8D, 8F, 90,
// 9D) map to the C1 controls of the same number, as Windows itself maps them,
// so any byte sequence survives a read and a write unchanged.
namespace Cp1252 {

// The Windows-1252 bytes of a UTF-8 text; none when the text is not valid
// UTF-8 or holds a character that Windows-1252 cannot hold.
std::optional<std::string> fromUtf8(std::string_view utf8);

// The UTF-8 text of Windows-1252 bytes; never fails.
std::string toUtf8(std::string_view bytes);

} // namespace Cp1252
