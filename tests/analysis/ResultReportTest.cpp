#include "analysis/ResultReport.h"

#include "../support/RecordingMessages.h"
#include "Cases.h"
#include "RecordingOpener.h"
#include "TempDir.h"
#include "analysis/Calc.h"

#include <gtest/gtest.h>

namespace {

const FixedClock clock2026({2026, 12, 7});

const char* const uprightRecord =
    "\"-------> OLTA-ZOR 2002  File: study1.zor\",#2026-12-07#\r\n"
    "\"M\xFCller\",\"Jos\xE9\",\"S-01\"\r\n"
    "\"date of radiogram\",\"20030212\"\r\n"
    "\"side of replacement\",\"L\",\"factor-head\",1.0714285714285714,\"factor-stem\",1\r\n"
    "\"ZOR-parameters (x-distances)\"\r\n"
    "\"medial\",20,30,28,25,22\r\n"
    "\"lateral\",0,35,34,31,30\r\n"
    "\"valgus-varus (degrees)\",-0.5903274718663375,\"subsidence\",100,25,50,-25\r\n"
    "\"subsidence stem/cement interface\",50\r\n"
    "\"comp-y\",250,50,\"comp-x\",50\r\n";

TEST(RunAnalysis, AppendsTheRecordAndConfirms)
{
    TempDir dir;
    CZor z;
    Cases::upright(z);
    RecordingOpener opener;
    RecordingMessages messages;
    Calc::ReportTarget report = ResultReport::targetFor("study1", dir.file("case1.jpg"));
    EXPECT_EQ(report.path, dir.file("study1.zor"));
    EXPECT_EQ(report.name, "study1.zor");
    TempDir::write(report.path, "earlier\r\n");

    ASSERT_TRUE(Calc::RunAnalysis(z, opener, report, messages, clock2026));
    ASSERT_TRUE(Calc::RunAnalysis(z, opener, report, messages, clock2026));
    EXPECT_EQ(TempDir::read(report.path),
              std::string("earlier\r\n") + uprightRecord + uprightRecord);
    ASSERT_EQ(messages.messages.size(), 2u);
    EXPECT_EQ(messages.messages[0].caption, "Zor");
    EXPECT_EQ(messages.messages[0].text, "Data written to study1.zor");
    EXPECT_EQ(messages.messages[0].icon, MessageIcon::None);
}

TEST(RunAnalysis, AFailedAppendIsReportedAndNeverConfirmed)
{
    TempDir dir;
    CZor z;
    Cases::upright(z);
    RecordingOpener opener;
    RecordingMessages messages;
    Calc::ReportTarget report{dir.file("missing/study1.zor"), "missing/study1.zor"};
    EXPECT_FALSE(Calc::RunAnalysis(z, opener, report, messages, clock2026));
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_EQ(messages.messages[0].caption, "Zor Error");
    EXPECT_EQ(messages.messages[0].text.rfind("Data not written to missing/study1.zor\n", 0), 0u)
        << messages.messages[0].text;
}

TEST(RunAnalysis, AFullDiskLeavesTheReportAsItWas)
{
    CZor z;
    Cases::upright(z);
    RecordingOpener opener;
    RecordingMessages messages;
    Calc::ReportTarget report{"/dev/full", "full.zor"};
    EXPECT_FALSE(Calc::RunAnalysis(z, opener, report, messages, clock2026));
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_EQ(messages.messages[0].caption, "Zor Error");
}

TEST(RunAnalysis, ANameOutsideWindows1252WritesNothing)
{
    TempDir dir;
    CZor z;
    Cases::upright(z);
    z.Patient.Famname = "\xC5\x81ukasiewicz";
    RecordingOpener opener;
    RecordingMessages messages;
    Calc::ReportTarget report{dir.file("s.zor"), "s.zor"};
    EXPECT_FALSE(Calc::RunAnalysis(z, opener, report, messages, clock2026));
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_EQ(messages.messages[0].text,
              "Data not written to s.zor\nthe Name holds a character outside Windows-1252");
    EXPECT_FALSE(std::filesystem::exists(report.path));
}

struct Target {
    const char* datFile;
    const char* image;
    const char* path;
    const char* name;
};

class ReportTarget : public testing::TestWithParam<Target> {};

TEST_P(ReportTarget, LiesBesideTheImageUnlessAbsolute)
{
    const Target& t = GetParam();
    Calc::ReportTarget r = ResultReport::targetFor(t.datFile, t.image);
    EXPECT_EQ(r.path, t.path);
    EXPECT_EQ(r.name, t.name);
}

INSTANTIATE_TEST_SUITE_P(
    Entries, ReportTarget,
    testing::Values(Target{"hips", "/films/a.jpg", "/films/hips.zor", "hips.zor"},
                    Target{"hips.zor", "/films/a.jpg", "/films/hips.zor.zor", "hips.zor.zor"},
                    Target{"study/hips", "/films/a.jpg", "/films/study/hips.zor", "study/hips.zor"},
                    Target{"/data/hips", "/films/a.jpg", "/data/hips.zor", "/data/hips.zor"},
                    Target{"hips", "a.jpg", "hips.zor", "hips.zor"}));

} // namespace
