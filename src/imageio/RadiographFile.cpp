#include "imageio/RadiographFile.h"

#include "imageio/Decoders.h"
#include "imageio/LoadError.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <limits>
#include <new>
#include <sys/resource.h>
#include <unistd.h>

namespace RadiographFile {

namespace {

namespace fs = std::filesystem;

// A data set without preamble starts with a tag of group 0002 or 0008, in
// either byte order, followed by an explicit VR or a sensible implicit length.
bool datasetWithoutPreamble(std::string_view b)
{
    if (b.size() < 8)
        return false;
    auto u8 = [&](size_t i) { return uint32_t(uint8_t(b[i])); };
    const uint32_t groupLe = u8(0) | u8(1) << 8;
    const uint32_t groupBe = u8(0) << 8 | u8(1);
    const bool explicitVr = b[4] >= 'A' && b[4] <= 'Z' && b[5] >= 'A' && b[5] <= 'Z';
    if (groupLe == 0x0002 || groupLe == 0x0008) {
        const uint32_t element = u8(2) | u8(3) << 8;
        const uint32_t length = u8(4) | u8(5) << 8 | u8(6) << 16 | u8(7) << 24;
        return explicitVr || (element < 0x1000 && length < 0x10000);
    }
    return (groupBe == 0x0002 || groupBe == 0x0008) && explicitVr;
}

bool isDicom(std::string_view head)
{
    return (head.size() >= 132 && head.substr(128, 4) == "DICM") || datasetWithoutPreamble(head);
}

// The file is a readable regular file, or `error` says what it is instead.
bool checkFile(const std::string& path, std::string& error)
{
    std::error_code ec;
    const fs::file_status st = fs::status(path, ec);
    if (st.type() == fs::file_type::not_found) {
        error = LoadError::unreadable(path, "no such file");
        return false;
    }
    if (ec) {
        error = LoadError::unreadable(path, ec.message());
        return false;
    }
    if (st.type() == fs::file_type::directory) {
        error = LoadError::folder(path);
        return false;
    }
    if (st.type() != fs::file_type::regular) {
        error = LoadError::unreadable(path, "it is not a regular file");
        return false;
    }
    return true;
}

bool readBytes(const std::string& path, std::string& bytes, std::string& error,
               std::streamsize limit = -1)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = LoadError::unreadable(path, std::strerror(errno));
        return false;
    }
    if (limit < 0) {
        std::error_code ec;
        limit = std::streamsize(fs::file_size(path, ec));
    }
    bytes.resize(size_t(limit));
    in.read(bytes.data(), limit);
    bytes.resize(size_t(in.gcount()));
    if (in.bad()) {
        error = LoadError::unreadable(path, "the file cannot be read to its end");
        return false;
    }
    return true;
}

bool read(const std::string& path, CBitmap* into, RadiographInfo& info, std::string& error)
{
    if (!checkFile(path, error))
        return false;
    std::string head;
    if (!readBytes(path, head, error, 132))
        return false;
    RadiographInfo found;
    if (isDicom(head)) {
        if (!Decoders::dicom(path, into, found, error))
            return false;
    } else {
        try {
            std::string bytes;
            if (!readBytes(path, bytes, error) ||
                !Decoders::qtImage(path, bytes, into, found, error))
                return false;
        } catch (const std::bad_alloc&) {
            error = LoadError::tooLargeForMemory(path, found.width, found.height);
            return false;
        }
    }
    info = std::move(found);
    return true;
}

} // namespace

bool readHeader(const std::string& path, RadiographInfo& info, std::string& error)
{
    return read(path, nullptr, info, error);
}

bool load(const std::string& path, CBitmap& into, RadiographInfo& info, std::string& error)
{
    return read(path, &into, info, error);
}

} // namespace RadiographFile

namespace Decoders {

bool enoughMemory(uint64_t bytes)
{
    uint64_t available = UINT64_MAX;
    std::ifstream meminfo("/proc/meminfo");
    std::string key;
    uint64_t kib = 0;
    while (meminfo >> key >> kib) {
        if (key == "MemAvailable:") {
            // Swap lets a little more through; the program must stay usable.
            available = kib * 1024;
            break;
        }
        meminfo.ignore(std::numeric_limits<std::streamsize>::max(), '\n');
    }
    // A limit on the address space counts from what the process holds already.
    rlimit limit{};
    if (getrlimit(RLIMIT_AS, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY) {
        uint64_t pages = 0;
        std::ifstream("/proc/self/statm") >> pages;
        const uint64_t used = pages * uint64_t(sysconf(_SC_PAGESIZE));
        available =
            std::min<uint64_t>(available, limit.rlim_cur > used ? limit.rlim_cur - used : 0);
    }
    return bytes <= available;
}

} // namespace Decoders
