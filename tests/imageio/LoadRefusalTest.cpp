#include "../support/DicomTestFile.h"
#include "../support/TempDir.h"
#include "../support/TestFilm.h"
#include "image/CBitmap.h"
#include "imageio/RadiographFile.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// Keeps the first `keep` of the file's bytes.
void cut(const std::string& path, double keep)
{
    std::filesystem::resize_file(path, uintmax_t(double(std::filesystem::file_size(path)) * keep));
}

using Make = std::function<void(const std::string&)>;

Make dicom(void (*change)(DicomTestFilm&), double keep = 1.0)
{
    return [=](const std::string& p) {
        DicomTestFilm f;
        change(f);
        cut(writeDicomTestFilm(p, f), keep);
    };
}

// A 200 x 100 film in a format Qt decodes, cut short.
Make cutQtFilm(const std::string& suffix)
{
    return [=](const std::string& p) {
        writeTestImage(QString::fromStdString(p + suffix), 200, 100);
        std::filesystem::rename(p + suffix, p);
        cut(p, 0.8);
    };
}

TEST(Refusal, NamesTheFileAndKeepsTheImageLoaded)
{
    const char* const damaged = "is damaged: the image data end before";
    const struct {
        Make make;
        const char* says;
    } rows[] = {
        {[](const std::string&) {}, "no such file"},
        {[](const std::string& p) { std::filesystem::create_directory(p); }, "is a folder"},
        {[](const std::string& p) { TempDir::write(p, "just text\n"); },
         "neither a DICOM file nor an image"},
        {dicom([](auto& f) { f.pixelData = false; }), "holds no pixel data"},
        {dicom([](auto& f) {
             f.pixelData = false;
             f.tags = {{DCM_MIMETypeOfEncapsulatedDocument, "application/pdf"},
                       {DCM_EncapsulatedDocument, "%PDF-1.4"}};
         }),
         "encapsulated document (application/pdf)"},
        {dicom([](auto&) {}, 0.7), "is damaged"},
        {dicom([](auto& f) { f.height = 0; }), "48 x 0 pixels"},
        {dicom([](auto& f) { f.width = 40000, f.height = 1; }),
         "40000 x 1 pixels; images wider or higher than 32767"},
        {dicom([](auto& f) { f.xfer = EXS_MPEG2MainProfileAtMainLevel; }), "cannot be decoded"},
        {cutQtFilm(".bmp"), damaged},
        {cutQtFilm(".jpg"), damaged}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.says);
        TempDir dir;
        const std::string path = dir.file("bad.film");
        row.make(path);
        CBitmap bitmap;
        const uint8_t previous[4] = {1, 2, 3, 4};
        ASSERT_TRUE(bitmap.init(previous, 2, 2, 2));
        RadiographInfo info;
        info.kind = "before";
        std::string error;
        EXPECT_FALSE(RadiographFile::load(path, bitmap, info, error));
        EXPECT_NE(error.find(path), std::string::npos) << error;
        EXPECT_NE(error.find(row.says), std::string::npos) << error;
        EXPECT_EQ(bitmap.W(), 2);
        EXPECT_EQ(bitmap.pixel(1, 1), 4);
        EXPECT_EQ(info.kind, "before");
    }
}

// Qt refuses such a film by default (above 128 MB at 4 bytes a pixel); the
// model holds it. Under a tight memory limit the same film is refused as too
// large for the memory.
TEST(LargeFilm, FortyMegapixelsOpenAndTooLittleMemoryIsSaid)
{
    TempDir dir;
    const std::string path = dir.file("large.bmp");
    writeTestImage(QString::fromStdString(path), 8000, 5000);
    CBitmap bitmap;
    RadiographInfo info;
    std::string error;
    ASSERT_TRUE(RadiographFile::load(path, bitmap, info, error)) << error;
    EXPECT_EQ(bitmap.W(), 8000);
    EXPECT_EQ(bitmap.pixel(7999, 4999), uint8_t(testGrey(7999, 4999)));

    const pid_t child = fork();
    ASSERT_NE(child, -1);
    if (child == 0) {
        long pages = 0;
        std::ifstream("/proc/self/statm") >> pages;
        const rlim_t used = rlim_t(pages) * rlim_t(sysconf(_SC_PAGESIZE));
        const rlimit tight{used + (150 << 20), used + (150 << 20)};
        setrlimit(RLIMIT_AS, &tight);
        CBitmap small;
        const bool loaded = RadiographFile::load(path, small, info, error);
        _exit(!loaded && error.find("too large for the memory") != std::string::npos ? 0 : 1);
    }
    int status = 0;
    waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
}

} // namespace
