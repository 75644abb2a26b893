// What the loader reads from DICOM films written by DCMTK: the display
// mapping pixel for pixel, the same pixels whatever the encoding (the
// compressed copies made by the DCMTK and GDCM command-line tools too), the
// scale table row by row, and the patient fields.
#include "../support/DicomTestFile.h"
#include "../support/RowName.h"
#include "../support/TempDir.h"
#include "image/CBitmap.h"
#include "imageio/RadiographFile.h"
#include "imageio/ScaleSource.h"

#include <cstdlib>
#include <cstring>
#include <gtest/gtest.h>

namespace {

using Tags = std::vector<std::pair<DcmTagKey, std::string>>;
const Tags kWindow = {{DCM_WindowCenter, "2000"}, {DCM_WindowWidth, "3000"}};

std::string written(const TempDir& dir, const std::string& name, const DicomTestFilm& film)
{
    writeDicomTestFilm(dir.file(name), film);
    return dir.file(name);
}

CBitmap loaded(const std::string& path)
{
    CBitmap bitmap;
    RadiographInfo info;
    std::string error;
    EXPECT_TRUE(RadiographFile::load(path, bitmap, info, error)) << error;
    return bitmap;
}

bool samePixels(const CBitmap& a, const CBitmap& b)
{
    return a.W() == b.W() && a.H() == b.H() &&
           std::memcmp(a.bits(), b.bits(), a.bytesPerLine() * size_t(a.H())) == 0;
}

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

TEST(DicomDisplay, EveryPixelThroughTheFilesMapping)
{
    constexpr double lowest = 0, highest = 4093; // of the default ramp
    const struct {
        const char* photometric;
        Tags tags;
        uint8_t (*expected)(int stored); // the grey level shown
    } rows[] = {
        // Bone is bright: the lowest stored values are shown white. The first of two windows.
        {"MONOCHROME1",
         {{DCM_WindowCenter, "3000\\100"}, {DCM_WindowWidth, "1000\\50"}},
         [](int v) { return uint8_t(255.0 - linear(v, 3000, 1000)); }},
        // The modality rescale, then the window.
        {"MONOCHROME2",
         {{DCM_RescaleSlope, "2"},
          {DCM_RescaleIntercept, "-1000"},
          {DCM_WindowCenter, "2000"},
          {DCM_WindowWidth, "4000"}},
         [](int v) { return windowed(2.0 * v - 1000, 2000, 4000); }},
        // No window: the extremes of the film.
        {"MONOCHROME2", {}, [](int v) {
             return windowed(v, (lowest + highest + 1) / 2, highest - lowest + 1);
         }}};
    for (const auto& row : rows) {
        TempDir dir;
        DicomTestFilm film;
        film.photometric = row.photometric;
        film.tags = row.tags;
        const CBitmap bitmap = loaded(written(dir, "film", film));
        ASSERT_EQ(bitmap.W(), film.width);
        ASSERT_EQ(bitmap.H(), film.height);
        for (int y = 0; y < film.height; ++y)
            for (int x = 0; x < film.width; ++x)
                ASSERT_EQ(bitmap.pixel(x, y), row.expected(film.value(x, y)))
                    << x << "," << y << " of " << row.photometric << " with " << row.tags.size()
                    << " tags";
    }
}

struct EncodingRow {
    const char* what;
    const char* name; // of the copy
    E_TransferSyntax written;
    bool preamble;
    const char* tool; // converts the uncompressed film ("%s %s": from, to); null for none
    int frames = 1;   // the first is shown
};

class DicomEncoding : public testing::TestWithParam<EncodingRow> {};

TEST_P(DicomEncoding, GivesThePixelsOfTheUncompressedFilm)
{
    const EncodingRow& row = GetParam();
    TempDir dir;
    DicomTestFilm film;
    film.tags = kWindow;
    const std::string plain = written(dir, "plain.dcm", film);
    const std::string copy = dir.file(row.name);
    if (row.tool) {
        const std::string command =
            std::string(row.tool) + " '" + plain + "' '" + copy + "' >/dev/null 2>&1";
        ASSERT_EQ(std::system(command.c_str()), 0) << command;
    } else {
        film.xfer = row.written;
        film.preamble = row.preamble;
        film.frames = row.frames;
        writeDicomTestFilm(copy, film);
    }
    RadiographInfo info;
    std::string error;
    ASSERT_TRUE(RadiographFile::readHeader(copy, info, error)) << error;
    EXPECT_EQ(info.kind, "DICOM");
    if (row.tool) {
        EXPECT_NE(info.encoding, "Little Endian Explicit") << "the tool left the film as it was";
    }
    EXPECT_EQ(info.window, "window 2000/3000");
    EXPECT_TRUE(samePixels(loaded(copy), loaded(plain)));
}

INSTANTIATE_TEST_SUITE_P(
    Rows, DicomEncoding,
    testing::Values(
        EncodingRow{"big_endian", "be.dcm", EXS_BigEndianExplicit, true, nullptr},
        EncodingRow{"implicit_little_endian", "il", EXS_LittleEndianImplicit, true, nullptr},
        EncodingRow{"deflated", "deflated", EXS_DeflatedLittleEndianExplicit, true, nullptr},
        // Recognised by its content whatever its name says.
        EncodingRow{"data_set_without_preamble", "film.bmp", EXS_LittleEndianImplicit, false,
                    nullptr},
        EncodingRow{"three_frames", "three", EXS_LittleEndianExplicit, true, nullptr, 3},
        EncodingRow{"jpeg_lossless", "jpeg", EXS_Unknown, true, "dcmcjpeg"},
        EncodingRow{"jpeg_ls", "jpls", EXS_Unknown, true, "dcmcjpls"},
        EncodingRow{"rle", "rle", EXS_Unknown, true, "dcmcrle"},
        EncodingRow{"jpeg_2000", "j2k", EXS_Unknown, true, "gdcmconv --j2k"}),
    RowName());

RadiographInfo headerOf(const Tags& tags)
{
    TempDir dir;
    DicomTestFilm film;
    film.tags = tags;
    RadiographInfo info;
    std::string error;
    EXPECT_TRUE(RadiographFile::readHeader(written(dir, "film", film), info, error)) << error;
    return info;
}

// The first usable row of the table gives the scale and names its source.
TEST(DicomScale, FirstUsableRowOfTheTable)
{
    const std::pair<DcmTagKey, std::string> spacing{DCM_PixelSpacing, "0.139\\0.139"},
        calibrated{DCM_PixelSpacingCalibrationType, "GEOMETRY"},
        imager{DCM_ImagerPixelSpacing, "0.15\\0.15"},
        factor{DCM_EstimatedRadiographicMagnificationFactor, "1.2"};
    const struct {
        Tags tags;
        double mmPerPixel;
        const char* source;
    } rows[] = {{{imager, factor, spacing, calibrated}, 0.139, ScaleSource::AtPatient},
                {{spacing, imager, factor}, 0.15 / 1.2, ScaleSource::Magnification},
                {{spacing, imager}, 0.139, ScaleSource::PixelSpacing},
                {{imager}, 0.15, ScaleSource::AtDetector},
                {{}, 0.0, ScaleSource::NotCalibrated},
                {{imager, {factor.first, "0"}}, 0.15, ScaleSource::AtDetector},
                // Rows and columns may differ by 0.5 %, not more.
                {{{DCM_PixelSpacing, "0.1005\\0.1"}, calibrated}, 0.1, ScaleSource::AtPatient},
                {{{DCM_PixelSpacing, "0.1006\\0.1"}, calibrated}, 0.0, ScaleSource::NotSquare}};
    for (const auto& row : rows) {
        const RadiographInfo info = headerOf(row.tags);
        EXPECT_DOUBLE_EQ(info.mmPerPixel, row.mmPerPixel) << row.source;
        EXPECT_EQ(info.scaleSource, row.source);
        EXPECT_EQ(info.scaleNote.empty(), std::string(row.source) != ScaleSource::NotSquare);
    }
}

// Latin-1 bytes in the file reach the case as UTF-8; the date is the
// acquisition's, else the content's, else the study's.
TEST(DicomPatient, FieldsFromTheHeader)
{
    const struct {
        Tags tags;
        std::vector<std::string> expected; // name, first name, ID, date, side
    } rows[] = {{{{DCM_SpecificCharacterSet, "ISO_IR 100"},
                  {DCM_PatientName, "M\xfcller^J\xfcrgen^Karl^Dr."},
                  {DCM_PatientID, "ST-0042"},
                  {DCM_StudyDate, "20240101"},
                  {DCM_ContentDate, "20240102"},
                  {DCM_AcquisitionDate, "20240103"},
                  {DCM_Laterality, "L"},
                  {DCM_ImageLaterality, "R"}},
                 {"Müller", "Jürgen", "ST-0042", "20240103", "R"}},
                {{{DCM_PatientName, "Doe"},
                  {DCM_StudyDate, "20240101"},
                  {DCM_ContentDate, "20240102"},
                  {DCM_Laterality, "L"}},
                 {"Doe", "", "", "20240102", "L"}},
                {{{DCM_StudyDate, "20231231"}}, {"", "", "", "20231231", ""}}};
    for (const auto& row : rows) {
        const RadiographInfo i = headerOf(row.tags);
        EXPECT_EQ((std::vector{i.famname, i.vorname, i.patientId, i.date, i.laterality}),
                  row.expected);
    }
}

} // namespace
