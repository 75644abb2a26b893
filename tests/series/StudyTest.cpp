#include "series/Study.h"

#include "../support/RowName.h"
#include "../support/TempDir.h"
#include "casefile/BinFile.h"
#include "model/CZor.h"
#include "series/Csv.h"
#include "series/Phantom.h"

#include <gtest/gtest.h>

namespace {

// A complete phantom case, changed by `spoil` before it is written.
void writeCase(const std::string& path, void (*spoil)(CZor&))
{
    const Phantom::Patient p = Phantom::makeStudy({.patients = 1})[0];
    CZor zor;
    ASSERT_TRUE(Phantom::fillCase(p, p.films[0], Phantom::trueClicks(p, p.films[0]), zor));
    spoil(zor);
    ASSERT_TRUE(BinFile::WriteLandmarkFile(path, zor));
}

std::optional<Series::ImageSize> noImage(const std::string& path, std::string& error)
{
    error = "cannot read the image " + path;
    return std::nullopt;
}

TEST(SeriesStudy, LeftOutCasesSayWhy)
{
    TempDir dir;
    writeCase(dir.file("good.bit"), [](CZor&) {});
    writeCase(dir.file("undated.bit"), [](CZor& z) { z.Datum = "20031301"; });
    writeCase(dir.file("nohead.bit"), [](CZor& z) { z.Patient.HeadTR = 0.0; });
    writeCase(dir.file("refused.bit"), [](CZor& z) {
        const CLine& a = z.AxisLine;
        z.TipLine.init(a.P0.x + 30, a.P0.y, a.P1.x + 30, a.P1.y);
    });
    // Stored as set but without rim points: a head of radius 0.
    writeCase(dir.file("headless.bit"), [](CZor& z) { z.head.removeAll(); });
    TempDir::write(dir.file("damaged.bit"), std::string{'\x05', '\0'} + "Calib");
    writeCase(dir.file("unreadable.bit"), [](CZor&) {});
    TempDir::write(dir.file("unreadable.png"), "not an image");
    TempDir::write(dir.file("unreadable.csv"), "notes"); // before .png by name, but no image

    Series::Settings s;
    s.draws = 10;
    Series::StudyResult r =
        Series::analyseStudy({dir.path(), dir.file("gone.png")}, s,
                             Series::ImageSize{Phantom::kWidth, Phantom::kHeight}, noImage);
    ASSERT_EQ(r.series.size(), 1u);
    EXPECT_EQ(r.series[0].rows[0].film, "good.bit");
    std::map<std::string, std::string> why;
    for (const Series::LeftOut& l : r.leftOut)
        why[l.film] = l.reason;
    EXPECT_EQ(why.size(), 7u);
    EXPECT_EQ(why[dir.file("gone.png")], "no such file or folder");
    EXPECT_EQ(why["undated.bit"], "no valid X-Ray Date (\"20031301\")");
    EXPECT_EQ(why["nohead.bit"], "no head diameter");
    EXPECT_EQ(why["refused.bit"], "Tip Line does not cross the Axis Line (move the Tip Line)");
    EXPECT_EQ(why["headless.bit"], "head data missing (use Measurement Tool 'Head')");
    EXPECT_EQ(why["damaged.bit"].rfind("Zor: Error in File: ", 0), 0u) << why["damaged.bit"];
    EXPECT_EQ(why["unreadable.png"], "cannot read the image " + dir.file("unreadable.png"));

    // Without a size a landmark file needs its image.
    Series::FoundCases found = Series::findCases({dir.file("good.bit")}, false);
    ASSERT_EQ(found.leftOut.size(), 1u);
    EXPECT_EQ(found.leftOut[0].reason, "no image beside the landmark file (give --size)");
    // A film named without an extension, as DICOM exports often are, is found.
    TempDir::write(dir.file("good"), "DICM");
    EXPECT_TRUE(Series::findCases({dir.file("good.bit")}, false).leftOut.empty());
}

TEST(Csv, FieldsQuotedGuardedAndLocalisedInTablesWithHeaderAndLineEnds)
{
    const struct {
        Csv::Cell cell;
        bool excel;
        const char* written;
    } rows[] = {{Csv::text("Huber"), false, "Huber"},
                {Csv::text("a,b"), false, "\"a,b\""},
                {Csv::text("a,b"), true, "a,b"},
                {Csv::text("a;b"), true, "\"a;b\""},
                {Csv::text("say \"hi\""), false, "\"say \"\"hi\"\"\""},
                {Csv::text("a\nb"), false, "\"a\nb\""},
                {Csv::text("=a,b"), false, "\"'=a,b\""}, // a guarded formula, quoted
                {Csv::number(-1.5, 3), false, "-1.500"},
                {Csv::number(-0.0001, 3), false, "0.000"},
                {Csv::number(-1.5, 2), true, "-1,50"},
                {Csv::number(std::nullopt, 2), true, ""}};
    for (const auto& row : rows)
        EXPECT_EQ(Csv::field(row.cell, {row.excel}), row.written) << row.written;
    for (std::string formula : {"=1+2", "+49", "-x", "@SUM(A1)", "\tx"})
        EXPECT_EQ(Csv::field(Csv::text(formula), {}), "'" + formula);
    const std::vector<std::vector<Csv::Cell>> table = {{Csv::text("x"), Csv::number(1.25, 2)}};
    EXPECT_EQ(Csv::table({"a", "b"}, table, {}), "a,b\r\nx,1.25\r\n");
    EXPECT_EQ(Csv::table({"a", "b"}, table, {true}), "\xEF\xBB\xBF"
                                                     "a;b\r\nx;1,25\r\n");
}

} // namespace
