#include "../support/Cases.h"
#include "../support/RecordingMessages.h"
#include "../support/RecordingOpener.h"
#include "../support/SampleResult.h"
#include "../support/TempDir.h"
#include "analysis/ReportFormat.h"
#include "analysis/ResultReport.h"
#include "analysis/WriteDataCommand.h"

#include <gtest/gtest.h>

namespace {

TEST(ReportFormat, NumbersAreTheShortestTextThatReadsBack)
{
    const std::pair<double, const char*> rows[] = {{-0.0, "0"},
                                                   {-6.4, "-6.4"},
                                                   {0.1 + 0.2, "0.30000000000000004"},
                                                   {250.0, "250"},
                                                   {1e-4, "0.0001"},
                                                   {9.9e-5, "9.9E-05"},
                                                   {5e-324, "5E-324"},
                                                   {999999999999999.9, "999999999999999.9"},
                                                   {1e15, "1E+15"}};
    for (auto [value, text] : rows) // each text reads back as its number, and no shorter one does
        EXPECT_EQ(ReportFormat::number(value), text) << value;
}

TEST(ReportFormat, TheRecordHasItsTenLines)
{
    ReportFormat::RecordTexts texts{"study1.zor", "Family", "Given", "S-01", "20030212"};
    AnalysisResult r = sampleResult();
    const std::string head =
        "\"-------> OLTA-ZOR 2002  File: study1.zor\",#2003-02-14#\r\n"
        "\"Family\",\"Given\",\"S-01\"\r\n"
        "\"date of radiogram\",\"20030212\"\r\n"
        "\"side of replacement\",\"L\",\"factor-head\",1.12,\"factor-stem\",1\r\n"
        "\"ZOR-parameters (x-distances)\"\r\n"
        "\"medial\",14.2,11.9,10.35,9.8,8.75\r\n"
        "\"lateral\",0,12.4,11.1,10.6,9.95\r\n"
        "\"valgus-varus (degrees)\",1.27,\"subsidence\",78.1,-6.4,43.2,-41.3\r\n";
    const std::string tail = "\"comp-y\",118.6,34.9,\"comp-x\",6.3\r\n";
    EXPECT_EQ(ReportFormat::record(texts, {2003, 2, 14}, r),
              head + "\"comparability parameters\"\r\n" + tail);
    r.cementValid = true;
    EXPECT_EQ(ReportFormat::record(texts, {2003, 2, 14}, r),
              head + "\"subsidence stem/cement interface\",3.5\r\n" + tail);
}

const FixedClock clock2026({2026, 12, 7});

TEST(ResultReport, ARelativeEntryLiesBesideTheImage)
{
    for (auto [datFile, image, path, name] :
         {std::tuple{"hips", "/films/a.jpg", "/films/hips.zor", "hips.zor"},
          {"/data/hips", "/films/a.jpg", "/data/hips.zor", "/data/hips.zor"},
          {"hips", "a.jpg", "hips.zor", "hips.zor"}}) {
        Calc::ReportTarget r = ResultReport::targetFor(datFile, image);
        EXPECT_EQ(r.path, path);
        EXPECT_EQ(r.name, name);
    }
}

// Nothing without patient data or an analysis; then the report, then the
// landmark file, whose failure is reported.
TEST(WriteData, WritesTheReportThenTheLandmarkFile)
{
    TempDir dir;
    CZor z;
    Cases::upright(z);
    z.Datum = "";
    z.Patient.Vorname = "";
    RecordingOpener opener;
    RecordingMessages messages;
    EXPECT_EQ(WriteDataCommand::run(z, dir.file("case1.jpg"), messages, clock2026, opener),
              WriteDataCommand::Outcome::PatientDataMissing);
    EXPECT_EQ(opener.opened, std::vector<int>{1 + 4});
    Cases::upright(z);
    z.head.Valid = false;
    EXPECT_EQ(WriteDataCommand::run(z, dir.file("case1.jpg"), messages, clock2026, opener),
              WriteDataCommand::Outcome::AnalysisFailed);
    EXPECT_TRUE(std::filesystem::is_empty(dir.path()));

    Cases::upright(z);
    TempDir::write(dir.file("study1.zor"), "earlier\r\n");
    EXPECT_EQ(WriteDataCommand::run(z, dir.file("case1.jpg"), messages, clock2026, opener),
              WriteDataCommand::Outcome::Written);
    std::string report = TempDir::read(dir.file("study1.zor"));
    EXPECT_TRUE(report.starts_with("earlier\r\n\"-------> OLTA-ZOR 2002  File: study1.zor\","
                                   "#2026-12-07#\r\n\"M\xFCller\",\"Jos\xE9\",\"S-01\"\r\n"))
        << report;
    EXPECT_EQ(messages.messages.at(1).caption, "Zor");
    EXPECT_EQ(messages.messages.at(1).text, "Data written to study1.zor");
    EXPECT_TRUE(std::filesystem::exists(dir.file("case1.bit")));

    std::filesystem::create_directories(dir.file("case2.bit/in-the-way"));
    EXPECT_EQ(WriteDataCommand::run(z, dir.file("case2.jpg"), messages, clock2026, opener),
              WriteDataCommand::Outcome::LandmarkFileFailed);
    ASSERT_EQ(messages.messages.size(), 4u);
    EXPECT_EQ(messages.messages[3].caption, "Zor Error");
    EXPECT_EQ(messages.messages[3].text.rfind(
                  "Landmark file not written: " + dir.file("case2.bit") + "\n", 0),
              0u)
        << messages.messages[3].text;
}

} // namespace
