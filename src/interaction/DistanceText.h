#pragma once

#include <optional>
#include <string>
#include <string_view>

// The calibration distance as the user types it and as it is offered again.
namespace DistanceText {

// The number in `text` as a 32-bit float, or none when the text is not one
// finite decimal number. A comma is read as the decimal point, since users
// write "12,5" as often as "12.5"; surrounding blanks are ignored. Texts with
// both a comma and a period, or with several of either, are refused rather
// than guessed at.
std::optional<float> parse(std::string_view text);

// The shortest decimal text that reads back as `distance` (a distance that
// came from a 32-bit float is written with the digits the user typed, e.g.
// "23.4"); the empty string for 0 or less, which means no distance.
std::string format(double distance);

// `value` with one decimal, halves rounded away from zero ("23.4", "-1.5");
// a value that rounds to zero is "0.0", never "-0.0".
std::string oneDecimal(double value);

} // namespace DistanceText
