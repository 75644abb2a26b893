// The image loader on any bytes, as a file: it must never crash, a refusal
// always names the file, and a film it opens has the size its header gave.
// Films above 4 megapixels are only read to their header, so that a header
// promising a huge film does not exhaust the fuzzer's memory. Deflated data
// sets are left out: DCMTK allocates an inflated element at the length it
// claims (up to 4 GB, without throwing when that fails), which the fuzzer
// counts as running out of memory.
#include "../support/DicomTestFile.h"
#include "../support/TempDir.h"
#include "../support/TestFilm.h"
#include "FuzzSeeds.h"
#include "image/CBitmap.h"
#include "imageio/RadiographFile.h"

namespace {

// One folder per process; the input file is rewritten for every input.
const TempDir folder;
const std::string input = folder.file("input");

bool refused(bool loaded, const std::string& error)
{
    if (!loaded && error.find(input) == std::string::npos)
        zorFuzzFail("a refusal does not name the file", error);
    return !loaded;
}

} // namespace

std::vector<std::string> zorFuzzSeeds()
{
    std::vector<std::string> seeds;
    DicomTestFilm film;
    film.width = 16;
    film.height = 12;
    film.tags = {{DCM_PixelSpacing, "0.1\\0.1"},
                 {DCM_WindowCenter, "2000"},
                 {DCM_WindowWidth, "3000"},
                 {DCM_PatientName, "Doe^Jane"}};
    for (E_TransferSyntax xfer :
         {EXS_LittleEndianExplicit, EXS_BigEndianExplicit, EXS_LittleEndianImplicit}) {
        film.xfer = xfer;
        film.preamble = xfer != EXS_LittleEndianImplicit; // the bare data set
        seeds.push_back(TempDir::read(writeDicomTestFilm(input, film)));
    }
    for (const char* name : {"seed.bmp", "seed.jpg", "seed.png"})
        seeds.push_back(TempDir::read(
            writeTestImage(QString::fromStdString(folder.file(name)), 24, 16).toStdString()));
    return seeds;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    if (bytes.find(UID_DeflatedExplicitVRLittleEndianTransferSyntax) != std::string::npos)
        return 0;
    TempDir::write(input, bytes);
    RadiographInfo header;
    std::string error;
    if (refused(RadiographFile::readHeader(input, header, error), error))
        return 0;
    if (header.width < 0 || header.height < 0 || header.width > CBitmap::MaxSide ||
        header.height > CBitmap::MaxSide)
        zorFuzzFail("a size outside the model's range was taken", std::to_string(header.width));
    if (int64_t(header.width) * header.height > 4'000'000)
        return 0;
    CBitmap bitmap;
    RadiographInfo info;
    if (refused(RadiographFile::load(input, bitmap, info, error), error))
        return 0;
    if (bitmap.W() != info.width || bitmap.H() != info.height)
        zorFuzzFail("the image is not the size the loader reports", std::to_string(info.width));
    if (header.width != 0 && (header.width != info.width || header.height != info.height))
        zorFuzzFail("the header's size is not the image's", std::to_string(header.width));
    return 0;
}
