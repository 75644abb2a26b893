// What the loader reads from DICOM films: the same pixels whatever the
// encoding, the scale table row by row, and the patient fields.
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

const std::vector<std::pair<DcmTagKey, std::string>> kWindow = {{DCM_WindowCenter, "2000"},
                                                                {DCM_WindowWidth, "3000"}};

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

struct EncodingRow {
    const char* what;
    const char* name; // of the copy
    E_TransferSyntax written;
    bool preamble;
    const char* tool; // converts the uncompressed film ("%s %s": from, to); null for none
};

class DicomEncoding : public testing::TestWithParam<EncodingRow> {};

TEST_P(DicomEncoding, GivesThePixelsOfTheUncompressedFilm)
{
    const EncodingRow& row = GetParam();
    TempDir dir;
    DicomTestFilm film;
    film.tags = kWindow;
    const std::string plain = dir.file("plain.dcm");
    writeDicomTestFilm(plain, film);
    const std::string copy = dir.file(row.name);
    if (row.tool) {
        const std::string command =
            std::string(row.tool) + " '" + plain + "' '" + copy + "' >/dev/null 2>&1";
        ASSERT_EQ(std::system(command.c_str()), 0) << command;
    } else {
        film.xfer = row.written;
        film.preamble = row.preamble;
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
        EncodingRow{"jpeg_lossless", "jpeg", EXS_Unknown, true, "dcmcjpeg"},
        EncodingRow{"jpeg_ls", "jpls", EXS_Unknown, true, "dcmcjpls"},
        EncodingRow{"rle", "rle", EXS_Unknown, true, "dcmcrle"},
        EncodingRow{"jpeg_2000", "j2k", EXS_Unknown, true, "gdcmconv --j2k"}),
    RowName());

TEST(DicomFrames, TheFirstFrameIsShown)
{
    TempDir dir;
    DicomTestFilm film;
    film.tags = kWindow;
    writeDicomTestFilm(dir.file("one"), film);
    film.frames = 3;
    writeDicomTestFilm(dir.file("three"), film);
    EXPECT_TRUE(samePixels(loaded(dir.file("three")), loaded(dir.file("one"))));
}

struct ScaleRow {
    const char* what;
    std::vector<std::pair<DcmTagKey, std::string>> tags;
    double mmPerPixel;
    const char* source;
};

class DicomScale : public testing::TestWithParam<ScaleRow> {};

TEST_P(DicomScale, FirstUsableRowOfTheTable)
{
    const ScaleRow& row = GetParam();
    TempDir dir;
    DicomTestFilm film;
    film.tags = row.tags;
    writeDicomTestFilm(dir.file("film"), film);
    RadiographInfo info;
    std::string error;
    ASSERT_TRUE(RadiographFile::readHeader(dir.file("film"), info, error)) << error;
    EXPECT_DOUBLE_EQ(info.mmPerPixel, row.mmPerPixel);
    EXPECT_EQ(info.scaleSource, row.source);
    EXPECT_EQ(info.scaleNote.empty(), std::string(row.source) != ScaleSource::NotSquare);
}

const std::pair<DcmTagKey, std::string> kSpacing{DCM_PixelSpacing, "0.139\\0.139"};
const std::pair<DcmTagKey, std::string> kCalibrated{DCM_PixelSpacingCalibrationType, "GEOMETRY"};
const std::pair<DcmTagKey, std::string> kImager{DCM_ImagerPixelSpacing, "0.15\\0.15"};
const std::pair<DcmTagKey, std::string> kFactor{DCM_EstimatedRadiographicMagnificationFactor,
                                                "1.2"};

INSTANTIATE_TEST_SUITE_P(
    Rows, DicomScale,
    testing::Values(
        ScaleRow{"calibrated_pixel_spacing",
                 {kImager, kFactor, kSpacing, kCalibrated},
                 0.139,
                 ScaleSource::AtPatient},
        ScaleRow{"imager_spacing_over_factor",
                 {kSpacing, kImager, kFactor},
                 0.15 / 1.2,
                 ScaleSource::Magnification},
        ScaleRow{"pixel_spacing_alone", {kSpacing, kImager}, 0.139, ScaleSource::PixelSpacing},
        ScaleRow{"imager_spacing_alone", {kImager}, 0.15, ScaleSource::AtDetector},
        ScaleRow{"none", {}, 0.0, ScaleSource::NotCalibrated},
        ScaleRow{
            "zero_factor_not_used", {kImager, {kFactor.first, "0"}}, 0.15, ScaleSource::AtDetector},
        // Rows and columns may differ by 0.5 %, not more.
        ScaleRow{"nearly_square",
                 {{DCM_PixelSpacing, "0.1005\\0.1"}, kCalibrated},
                 0.1,
                 ScaleSource::AtPatient},
        ScaleRow{"not_square",
                 {{DCM_PixelSpacing, "0.1006\\0.1"}, kCalibrated},
                 0.0,
                 ScaleSource::NotSquare}),
    RowName());

struct PatientRow {
    const char* what;
    std::vector<std::pair<DcmTagKey, std::string>> tags;
    RadiographInfo expected;
};

class DicomPatient : public testing::TestWithParam<PatientRow> {};

RadiographInfo patient(const char* fam, const char* given, const char* id, const char* date,
                       const char* side)
{
    RadiographInfo i;
    i.famname = fam;
    i.vorname = given;
    i.patientId = id;
    i.date = date;
    i.laterality = side;
    return i;
}

TEST_P(DicomPatient, FieldsFromTheHeader)
{
    const PatientRow& row = GetParam();
    TempDir dir;
    DicomTestFilm film;
    film.tags = row.tags;
    writeDicomTestFilm(dir.file("film"), film);
    RadiographInfo info;
    std::string error;
    ASSERT_TRUE(RadiographFile::readHeader(dir.file("film"), info, error)) << error;
    EXPECT_EQ(info.famname, row.expected.famname);
    EXPECT_EQ(info.vorname, row.expected.vorname);
    EXPECT_EQ(info.patientId, row.expected.patientId);
    EXPECT_EQ(info.date, row.expected.date);
    EXPECT_EQ(info.laterality, row.expected.laterality);
}

INSTANTIATE_TEST_SUITE_P(Rows, DicomPatient,
                         testing::Values(
                             // Latin-1 bytes in the file reach the case as UTF-8.
                             PatientRow{"latin1_name_acquisition_date",
                                        {{DCM_SpecificCharacterSet, "ISO_IR 100"},
                                         {DCM_PatientName, "M\xfcller^J\xfcrgen^Karl^Dr."},
                                         {DCM_PatientID, "ST-0042"},
                                         {DCM_StudyDate, "20240101"},
                                         {DCM_ContentDate, "20240102"},
                                         {DCM_AcquisitionDate, "20240103"},
                                         {DCM_Laterality, "L"},
                                         {DCM_ImageLaterality, "R"}},
                                        patient("Müller", "Jürgen", "ST-0042", "20240103", "R")},
                             PatientRow{"content_date_then_study_date",
                                        {{DCM_PatientName, "Doe"},
                                         {DCM_StudyDate, "20240101"},
                                         {DCM_ContentDate, "20240102"},
                                         {DCM_Laterality, "L"}},
                                        patient("Doe", "", "", "20240102", "L")},
                             PatientRow{"study_date_only",
                                        {{DCM_StudyDate, "20231231"}},
                                        patient("", "", "", "20231231", "")}),
                         RowName());

} // namespace
