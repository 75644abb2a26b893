#include "casefile/Cp1252.h"

#include <cerrno>
#include <iconv.h>

namespace Cp1252 {

namespace {

bool isUndefinedByte(unsigned char c)
{
    return c == 0x81 || c == 0x8D || c == 0x8F || c == 0x90 || c == 0x9D;
}

// One conversion descriptor per call keeps the functions free of shared
// state; opening one costs far less than a file access.
class Converter {
public:
    Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
    ~Converter()
    {
        if (ok())
            iconv_close(cd_);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    bool ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

    // Converts as much of [in, in + left) as it can, appending to out.
    // Returns 0 when everything was converted, else errno of the stop.
    int convert(const char*& in, size_t& left, std::string& out)
    {
        char buffer[256];
        while (left > 0) {
            char* dst = buffer;
            size_t room = sizeof buffer;
            char* src = const_cast<char*>(in);
            size_t r = iconv(cd_, &src, &left, &dst, &room);
            in = src;
            out.append(buffer, static_cast<size_t>(dst - buffer));
            if (r == static_cast<size_t>(-1) && errno != E2BIG)
                return errno;
        }
        return 0;
    }

private:
    iconv_t cd_;
};

// Plain ASCII reads the same in both encodings; keys and most names are.
bool isAscii(std::string_view s)
{
    for (char c : s)
        if (static_cast<unsigned char>(c) >= 0x80)
            return false;
    return true;
}

} // namespace

std::optional<std::string> fromUtf8(std::string_view utf8)
{
    if (isAscii(utf8))
        return std::string(utf8);
    Converter cv("CP1252", "UTF-8");
    if (!cv.ok())
        return std::nullopt;
    std::string out;
    out.reserve(utf8.size());
    const char* in = utf8.data();
    size_t left = utf8.size();
    while (left > 0) {
        if (cv.convert(in, left, out) == 0)
            break;
        // U+0081 and its four siblings are the undefined bytes (C2 xx in
        // UTF-8); anything else iconv refused cannot be held.
        auto lead = static_cast<unsigned char>(in[0]);
        auto next = left > 1 ? static_cast<unsigned char>(in[1]) : 0;
        if (lead == 0xC2 && isUndefinedByte(next)) {
            out.push_back(static_cast<char>(next));
            in += 2;
            left -= 2;
            continue;
        }
        return std::nullopt;
    }
    return out;
}

std::string toUtf8(std::string_view bytes)
{
    if (isAscii(bytes))
        return std::string(bytes);
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 4);
    Converter cv("UTF-8", "CP1252");
    const char* in = bytes.data();
    size_t left = bytes.size();
    while (left > 0) {
        if (cv.ok() && cv.convert(in, left, out) == 0)
            break;
        // An undefined byte (or no converter at all): keep the byte as the
        // code point of the same number, which is what Windows does.
        auto c = static_cast<unsigned char>(in[0]);
        if (c < 0x80) {
            out.push_back(static_cast<char>(c));
        } else {
            out.push_back(static_cast<char>(0xC0 | (c >> 6)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        }
        ++in;
        --left;
    }
    return out;
}

} // namespace Cp1252
