#include "analysis/WriteDataCommand.h"

#include "../support/RecordingMessages.h"
#include "Cases.h"
#include "RecordingOpener.h"
#include "TempDir.h"
#include "casefile/BinFile.h"

#include <gtest/gtest.h>

namespace {

const FixedClock clock2026({2026, 12, 7});

TEST(WriteData, MissingPatientDataOpensTheDialogAndWritesNothing)
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
    EXPECT_EQ(opener.opened, std::vector<int>{5});
    EXPECT_TRUE(messages.messages.empty());
    EXPECT_FALSE(std::filesystem::exists(dir.file("study1.zor")));
    EXPECT_FALSE(std::filesystem::exists(dir.file("case1.bit")));
}

TEST(WriteData, FlagsAndNamesOfMissingFields)
{
    CZor z;
    EXPECT_EQ(WriteDataCommand::missingPatientFields(z), 1 + 2 + 4 + 256);
    z.Patient.Famname = "F";
    z.Patient.DatFile = "d";
    EXPECT_EQ(WriteDataCommand::missingPatientFields(z), 1 + 4);
    EXPECT_EQ(WriteDataCommand::fieldNames(1 + 4 + 256), "X-Ray Date, First Name, Data File");
    EXPECT_EQ(WriteDataCommand::fieldNames(0), "");
}

TEST(WriteData, WritesTheReportThenTheLandmarkFile)
{
    TempDir dir;
    CZor z;
    Cases::upright(z);
    RecordingOpener opener;
    RecordingMessages messages;
    EXPECT_EQ(WriteDataCommand::run(z, dir.file("case1.jpg"), messages, clock2026, opener),
              WriteDataCommand::Outcome::Written);
    EXPECT_TRUE(std::filesystem::exists(dir.file("study1.zor")));
    CZor back;
    ASSERT_TRUE(BinFile::ReadLandmarkFile(dir.file("case1.bit"), 860, 1000, back, messages));
    EXPECT_EQ(back.Patient.Famname, z.Patient.Famname);
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_EQ(messages.messages[0].text, "Data written to study1.zor");
}

TEST(WriteData, AFailedAnalysisWritesNoLandmarkFile)
{
    TempDir dir;
    CZor z;
    Cases::upright(z);
    z.head.Valid = false;
    RecordingOpener opener;
    RecordingMessages messages;
    EXPECT_EQ(WriteDataCommand::run(z, dir.file("case1.jpg"), messages, clock2026, opener),
              WriteDataCommand::Outcome::AnalysisFailed);
    EXPECT_FALSE(std::filesystem::exists(dir.file("case1.bit")));
}

TEST(WriteData, ALandmarkFileThatCannotBeWrittenIsReported)
{
    TempDir dir;
    std::filesystem::create_directories(dir.file("case1.bit/in-the-way"));
    CZor z;
    Cases::upright(z);
    RecordingOpener opener;
    RecordingMessages messages;
    EXPECT_EQ(WriteDataCommand::run(z, dir.file("case1.jpg"), messages, clock2026, opener),
              WriteDataCommand::Outcome::LandmarkFileFailed);
    ASSERT_EQ(messages.messages.size(), 2u);
    EXPECT_EQ(messages.messages[0].text, "Data written to study1.zor");
    EXPECT_EQ(messages.messages[1].caption, "Zor Error");
    EXPECT_EQ(messages.messages[1].text.rfind(
                  "Landmark file not written: " + dir.file("case1.bit") + "\n", 0),
              0u)
        << messages.messages[1].text;
}

} // namespace
