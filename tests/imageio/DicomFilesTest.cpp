// The loader on DICOM films written by DCMTK, compressed by the DCMTK and GDCM tools.
#include "../support/DicomTestFile.h"
#include "../support/TempDir.h"
#include "image/CBitmap.h"
#include "imageio/RadiographFile.h"
#include "imageio/ScaleSource.h"

#include <cstdlib>
#include <cstring>
#include <gtest/gtest.h>

namespace {

using Tags = std::vector<std::pair<DcmTagKey, std::string>>;

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

TEST(DicomDisplay, EveryPixelThroughTheFilesMapping)
{
    const struct {
        std::string kind; // the photometric interpretation, "RGB" or "VOI LUT"
        Tags tags;
        double (*expected)(int stored); // the grey shown; DCMTK cuts the fraction off
    } rows[] = {
        // A colour film of grey pixels, turned to grey.
        {"RGB", {}, [](int v) { return double(v >> 4); }},
        // The film's own table, here an inverting one.
        {"VOI LUT", {}, [](int v) { return (4095 - v) * 255.0 / 4095; }},
        // Bone is bright: the lowest stored values are shown white. The first of two windows.
        {"MONOCHROME1",
         {{DCM_WindowCenter, "3000\\100"}, {DCM_WindowWidth, "1000\\50"}},
         [](int v) { return 255.0 - linear(v, 3000, 1000); }},
        // The modality rescale, then the window.
        {"MONOCHROME2",
         {{DCM_RescaleSlope, "2"},
          {DCM_RescaleIntercept, "-1000"},
          {DCM_WindowCenter, "2000"},
          {DCM_WindowWidth, "4000"}},
         [](int v) { return linear(2.0 * v - 1000, 2000, 4000); }},
        // No window: the extremes of the film, 0 and 4093.
        {"MONOCHROME2", {}, [](int v) { return linear(v, 2047, 4094); }}};
    for (const auto& row : rows) {
        TempDir dir;
        DicomTestFilm film;
        film.rgb = row.kind == "RGB";
        film.invertingLut = row.kind == "VOI LUT";
        film.photometric = film.invertingLut ? "MONOCHROME2" : row.kind;
        film.tags = row.tags;
        const CBitmap bitmap = loaded(writeDicomTestFilm(dir.file("film"), film));
        ASSERT_EQ(bitmap.W(), film.width);
        ASSERT_EQ(bitmap.H(), film.height);
        for (int y = 0; y < film.height; ++y)
            for (int x = 0; x < film.width; ++x)
                ASSERT_LE(std::abs(bitmap.pixel(x, y) - int(row.expected(film.value(x, y)))),
                          film.rgb || film.invertingLut ? 1 : 0) // rounded in floating point
                    << x << "," << y << " in row " << &row - rows;
    }
}

// Every copy is named .bmp: a DICOM file is recognised by its content.
TEST(DicomEncoding, GivesThePixelsOfTheUncompressedFilm)
{
    const struct {
        const char* what;
        E_TransferSyntax written;
        const char* tool; // converts the uncompressed film ("%s from to"); null for none
        bool preamble = true;
        int frames = 1; // the first is shown
    } rows[] = {{"big endian", EXS_BigEndianExplicit, nullptr},
                {"implicit little endian", EXS_LittleEndianImplicit, nullptr},
                {"deflated", EXS_DeflatedLittleEndianExplicit, nullptr},
                {"data set without preamble", EXS_LittleEndianImplicit, nullptr, false},
                {"three frames", EXS_LittleEndianExplicit, nullptr, true, 3},
                {"jpeg lossless", EXS_Unknown, "dcmcjpeg"},
                {"jpeg-ls", EXS_Unknown, "dcmcjpls"},
                {"rle", EXS_Unknown, "dcmcrle"},
                {"jpeg 2000", EXS_Unknown, "gdcmconv --j2k"}};
    TempDir dir;
    DicomTestFilm film;
    film.tags = {{DCM_WindowCenter, "2000"}, {DCM_WindowWidth, "3000"}};
    const std::string plain = writeDicomTestFilm(dir.file("plain.dcm"), film);
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        const std::string copy = dir.file(std::string(row.what) + ".bmp");
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
        EXPECT_TRUE(!row.tool || info.encoding != "Little Endian Explicit") << info.encoding;
        EXPECT_EQ(info.window, "window 2000/3000");
        EXPECT_TRUE(samePixels(loaded(copy), loaded(plain)));
    }
}

RadiographInfo headerOf(const Tags& tags)
{
    TempDir dir;
    DicomTestFilm film;
    film.tags = tags;
    RadiographInfo info;
    std::string error;
    EXPECT_TRUE(RadiographFile::readHeader(writeDicomTestFilm(dir.file("film"), film), info, error))
        << error;
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
