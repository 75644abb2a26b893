#include "analysis/ReportFormat.h"

#include <charconv>
#include <cmath>
#include <gtest/gtest.h>
#include <limits>

namespace {

struct Number {
    double value;
    const char* text;
};

class ReportNumber : public testing::TestWithParam<Number> {};

TEST_P(ReportNumber, IsTheShortestTextThatReadsBack)
{
    const Number& n = GetParam();
    std::string s = ReportFormat::number(n.value);
    EXPECT_EQ(s, n.text);
    double back = 0;
    std::from_chars(s.data(), s.data() + s.size(), back);
    if (n.value != 0.0) {
        // from_chars takes "E+05" as an exponent too.
        EXPECT_EQ(back, n.value) << s;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Values, ReportNumber,
    testing::Values(Number{0.0, "0"}, Number{-0.0, "0"}, Number{1.0, "1"}, Number{100.0, "100"},
                    Number{1.5, "1.5"}, Number{-6.4, "-6.4"}, Number{0.1, "0.1"},
                    Number{0.1 + 0.2, "0.30000000000000004"},
                    Number{1.0 / 3.0, "0.3333333333333333"},
                    Number{15.0 / 14.0, "1.0714285714285714"}, Number{-0.25, "-0.25"},
                    Number{1e-4, "0.0001"}, Number{0.00012345, "0.00012345"},
                    Number{9.9e-5, "9.9E-05"}, Number{2.5e-5, "2.5E-05"},
                    Number{-1e-300, "-1E-300"}, Number{5e-324, "5E-324"},
                    Number{123456789012345.0, "123456789012345"},
                    Number{999999999999999.9, "999999999999999.9"}, Number{1e15, "1E+15"},
                    Number{1.5e20, "1.5E+20"}, Number{-2e100, "-2E+100"},
                    Number{std::numeric_limits<double>::max(), "1.7976931348623157E+308"},
                    Number{123.456, "123.456"}, Number{1e14, "100000000000000"}));

AnalysisResult sample()
{
    AnalysisResult r;
    r.side = "L";
    r.factorHead = 1.12;
    r.factorStem = 1.0;
    r.medial = {14.2, 11.9, 10.35, 9.8, 8.75};
    r.lateral = {0, 12.4, 11.1, 10.6, 9.95};
    r.valgusVarus = 1.27;
    r.subsidence = {78.1, -6.4, 43.2, -41.3};
    r.cementValid = false;
    r.cementSubsidence = 3.5;
    r.compY = {118.6, 34.9};
    r.compX = 6.3;
    return r;
}

const ReportFormat::RecordTexts texts{"study1.zor", "Family", "Given", "S-01", "20030212"};

TEST(ReportRecord, HasTheTenLinesOfTheStudyFile)
{
    std::optional<std::string> rec = ReportFormat::record(texts, {2003, 2, 14}, sample());
    ASSERT_TRUE(rec);
    EXPECT_EQ(*rec, "\"-------> OLTA-ZOR 2002  File: study1.zor\",#2003-02-14#\r\n"
                    "\"Family\",\"Given\",\"S-01\"\r\n"
                    "\"date of radiogram\",\"20030212\"\r\n"
                    "\"side of replacement\",\"L\",\"factor-head\",1.12,\"factor-stem\",1\r\n"
                    "\"ZOR-parameters (x-distances)\"\r\n"
                    "\"medial\",14.2,11.9,10.35,9.8,8.75\r\n"
                    "\"lateral\",0,12.4,11.1,10.6,9.95\r\n"
                    "\"valgus-varus (degrees)\",1.27,\"subsidence\",78.1,-6.4,43.2,-41.3\r\n"
                    "\"comparability parameters\"\r\n"
                    "\"comp-y\",118.6,34.9,\"comp-x\",6.3\r\n");
}

TEST(ReportRecord, ACementMarkerReplacesTheHeadingOfLineNine)
{
    AnalysisResult r = sample();
    r.cementValid = true;
    ReportFormat::RecordTexts empty{"x.zor", "", "", "", ""};
    std::string rec = *ReportFormat::record(empty, {2026, 12, 7}, r);
    EXPECT_NE(rec.find("\r\n\"\",\"\",\"\"\r\n\"date of radiogram\",\"\"\r\n"), std::string::npos)
        << "empty texts are empty quoted items";
    EXPECT_NE(rec.find("\r\n\"subsidence stem/cement interface\",3.5\r\n\"comp-y\""),
              std::string::npos);
    EXPECT_EQ(rec.find("comparability parameters"), std::string::npos);
    size_t lines = 0;
    for (size_t at = rec.find("\r\n"); at != std::string::npos; at = rec.find("\r\n", at + 2))
        ++lines;
    EXPECT_EQ(lines, 10u);
}

TEST(ReportRecord, TextsAreWindows1252)
{
    ReportFormat::RecordTexts t = texts;
    t.famname = "M\xC3\xBCller";
    std::string rec = *ReportFormat::record(t, {2003, 2, 14}, sample());
    EXPECT_NE(rec.find("\r\n\"M\xFCller\",\"Given\""), std::string::npos);
}

TEST(ReportRecord, ATextOutsideWindows1252MakesNoRecordAndNamesTheField)
{
    ReportFormat::RecordTexts t = texts;
    t.code = "\xE2\x98\x83"; // a snowman
    std::string field;
    EXPECT_EQ(ReportFormat::record(t, {2003, 2, 14}, sample(), &field), std::nullopt);
    EXPECT_EQ(field, "Study - ID");
}

TEST(ReportRecord, DatesArePadded)
{
    EXPECT_EQ(ReportFormat::date({2003, 2, 4}), "#2003-02-04#");
    EXPECT_EQ(ReportFormat::date({2026, 12, 31}), "#2026-12-31#");
}

} // namespace
