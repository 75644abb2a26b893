#include "interaction/DistanceText.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>

namespace DistanceText {

std::optional<float> parse(std::string_view text)
{
    auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; };
    while (!text.empty() && blank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && blank(text.back()))
        text.remove_suffix(1);
    if (text.empty())
        return std::nullopt;

    std::string s(text);
    auto commas = std::count(s.begin(), s.end(), ',');
    auto periods = std::count(s.begin(), s.end(), '.');
    if (commas + periods > 1)
        return std::nullopt;
    std::replace(s.begin(), s.end(), ',', '.');
    // from_chars takes no leading '+'; a typed one is harmless.
    std::size_t start = (s.size() > 1 && s.front() == '+') ? 1 : 0;
    // Only plain decimals: no exponents, hex, "inf" or "nan".
    for (std::size_t i = start; i < s.size(); ++i) {
        char c = s[i];
        bool ok = (c >= '0' && c <= '9') || c == '.' || (c == '-' && i == start);
        if (!ok)
            return std::nullopt;
    }

    float value = 0;
    const char* first = s.data() + start;
    const char* last = s.data() + s.size();
    auto [end, ec] = std::from_chars(first, last, value, std::chars_format::fixed);
    if (ec != std::errc() || end != last || !std::isfinite(value))
        return std::nullopt;
    return value;
}

std::string format(double distance)
{
    if (!(distance > 0) || !std::isfinite(distance))
        return {};
    char buf[64];
    std::to_chars_result r;
    auto asFloat = static_cast<float>(distance);
    if (static_cast<double>(asFloat) == distance)
        r = std::to_chars(buf, buf + sizeof buf, asFloat, std::chars_format::fixed);
    else
        r = std::to_chars(buf, buf + sizeof buf, distance, std::chars_format::fixed);
    return std::string(buf, r.ptr);
}

std::string oneDecimal(double value)
{
    double tenths = std::round(value * 10.0);
    if (tenths == 0.0)
        tenths = 0.0; // drops the sign of -0.0
    char buf[64];
    int n = std::snprintf(buf, sizeof buf, "%.1f", tenths / 10.0);
    return std::string(buf, n > 0 ? static_cast<std::size_t>(n) : 0);
}

} // namespace DistanceText
