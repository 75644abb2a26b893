// DICOM films written by DCMTK, shown through the loader: the display
// mapping pixel for pixel, and the compressed copies made by the DCMTK and
// GDCM command-line tools giving the same pixels as the uncompressed film.
#include "../support/DicomTestFile.h"
#include "../support/TempDir.h"
#include "image/CBitmap.h"
#include "imageio/RadiographFile.h"

#include <cmath>
#include <cstdlib>
#include <gtest/gtest.h>

namespace {

// The linear VOI function of the standard, 0 to 255.
double linear(double x, double c, double w)
{
    if (x <= c - 0.5 - (w - 1) / 2)
        return 0;
    if (x > c - 0.5 + (w - 1) / 2)
        return 255;
    return ((x - (c - 0.5)) / (w - 1) + 0.5) * 255.0;
}

// To 8 bits: DCMTK cuts the fraction off.
uint8_t windowed(double x, double c, double w)
{
    return uint8_t(linear(x, c, w));
}

// The extremes of the default ramp.
const double kMin = 0;
const double kMax = 4093;

TEST(DicomDisplay, EveryPixelThroughTheFilesMapping)
{
    const struct {
        const char* photometric;
        std::vector<std::pair<DcmTagKey, std::string>> tags;
        uint8_t (*expected)(int stored); // the grey level shown
    } rows[] = {{"MONOCHROME2",
                 {{DCM_WindowCenter, "1500"}, {DCM_WindowWidth, "2000"}},
                 [](int v) { return windowed(v, 1500, 2000); }},
                // Bone is bright: the lowest stored values are shown white.
                {"MONOCHROME1",
                 {{DCM_WindowCenter, "1500"}, {DCM_WindowWidth, "2000"}},
                 [](int v) { return uint8_t(255.0 - linear(v, 1500, 2000)); }},
                // The first of two windows.
                {"MONOCHROME2",
                 {{DCM_WindowCenter, "3000\\100"}, {DCM_WindowWidth, "1000\\50"}},
                 [](int v) { return windowed(v, 3000, 1000); }},
                // The modality rescale, then the window.
                {"MONOCHROME2",
                 {{DCM_RescaleSlope, "2"},
                  {DCM_RescaleIntercept, "-1000"},
                  {DCM_WindowCenter, "2000"},
                  {DCM_WindowWidth, "4000"}},
                 [](int v) { return windowed(2.0 * v - 1000, 2000, 4000); }},
                // No window: the extremes of the film.
                {"MONOCHROME2", {}, [](int v) {
                     return windowed(v, (kMin + kMax + 1) / 2, kMax - kMin + 1);
                 }}};
    for (const auto& row : rows) {
        TempDir dir;
        DicomTestFilm film;
        film.photometric = row.photometric;
        film.tags = row.tags;
        const std::string path = dir.file("film");
        writeDicomTestFilm(path, film);
        CBitmap bitmap;
        RadiographInfo info;
        std::string error;
        ASSERT_TRUE(RadiographFile::load(path, bitmap, info, error)) << error;
        ASSERT_EQ(bitmap.W(), film.width);
        ASSERT_EQ(bitmap.H(), film.height);
        int wrong = 0;
        for (int y = 0; y < film.height; ++y)
            for (int x = 0; x < film.width; ++x) {
                const int stored = film.value(x, y);
                if (bitmap.pixel(x, y) != row.expected(stored) && ++wrong <= 5)
                    ADD_FAILURE() << "at " << x << "," << y << " stored " << stored << ": got "
                                  << int(bitmap.pixel(x, y));
            }
        EXPECT_EQ(wrong, 0) << row.photometric << " with " << row.tags.size() << " tags";
    }
}

} // namespace
