// The image loader on any bytes, as a file: it must never crash, a refusal
// always names the file, and a film it opens has the size its header gave.
// Films above 4 megapixels are only read to their header, so that a header
// promising a huge film does not exhaust the fuzzer's memory. Deflated data
// sets are left out: DCMTK allocates an inflated element at the length it
// claims (up to 4 GB, without throwing when that fails), which the fuzzer
// counts as running out of memory.
#include "../support/DicomTestFile.h"
#include "../support/TempDir.h"
#include "FuzzSeeds.h"
#include "image/CBitmap.h"
#include "imageio/RadiographFile.h"

#include <QBuffer>
#include <QImage>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace {

[[noreturn]] void fail(const char* what, const std::string& detail)
{
    std::fprintf(stderr, "image loader: %s (%s)\n", what, detail.c_str());
    std::abort();
}

// One file per process, rewritten for every input.
const std::string& inputFile()
{
    static const std::string path = [] {
        std::string tmpl = (std::filesystem::temp_directory_path() / "zor-fuzz-XXXXXX").string();
        const int fd = mkstemp(tmpl.data());
        if (fd < 0)
            std::abort();
        close(fd);
        return tmpl;
    }();
    return path;
}

std::string qtFilm(const char* format)
{
    QImage image(24, 16, QImage::Format_Grayscale8);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            image.scanLine(y)[x] = uchar(x * 9 + y * 5);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes.toStdString();
}

} // namespace

std::vector<std::string> zorFuzzSeeds()
{
    std::vector<std::string> seeds;
    const std::string path = inputFile();
    DicomTestFilm film;
    film.width = 16;
    film.height = 12;
    film.tags = {{DCM_PixelSpacing, "0.1\\0.1"},
                 {DCM_WindowCenter, "2000"},
                 {DCM_WindowWidth, "3000"},
                 {DCM_PatientName, "Doe^Jane"}};
    for (E_TransferSyntax xfer : {EXS_LittleEndianExplicit, EXS_BigEndianExplicit}) {
        film.xfer = xfer;
        writeDicomTestFilm(path, film);
        seeds.push_back(TempDir::read(path));
    }
    film.preamble = false;
    film.xfer = EXS_LittleEndianImplicit;
    writeDicomTestFilm(path, film);
    seeds.push_back(TempDir::read(path));
    for (const char* format : {"BMP", "JPEG", "PNG"})
        seeds.push_back(qtFilm(format));
    return seeds;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    if (bytes.find(UID_DeflatedExplicitVRLittleEndianTransferSyntax) != std::string_view::npos)
        return 0;
    const std::string& path = inputFile();
    TempDir::write(path, std::string(bytes));
    RadiographInfo header;
    std::string error;
    if (!RadiographFile::readHeader(path, header, error)) {
        if (error.find(path) == std::string::npos)
            fail("a refusal does not name the file", error);
        return 0;
    }
    if (header.width < 0 || header.height < 0 || header.width > CBitmap::MaxSide ||
        header.height > CBitmap::MaxSide)
        fail("a size outside the model's range was taken", std::to_string(header.width));
    if (int64_t(header.width) * header.height > 4'000'000)
        return 0;
    CBitmap bitmap;
    RadiographInfo info;
    if (!RadiographFile::load(path, bitmap, info, error)) {
        if (error.find(path) == std::string::npos)
            fail("a refusal does not name the file", error);
        return 0;
    }
    if (bitmap.W() != info.width || bitmap.H() != info.height)
        fail("the image is not the size the loader reports", std::to_string(info.width));
    if (header.width != 0 && (header.width != info.width || header.height != info.height))
        fail("the header's size is not the image's", std::to_string(header.width));
    return 0;
}
