#include "series/Series.h"

#include "../support/RowName.h"

#include <gtest/gtest.h>

namespace {

// A reference whose head factor is 2 (k = 0.5) and the values the hand
// computations below start from.
const AnalysisResult kReference{.side = "R",
                                .factorHead = 2.0,
                                .medial = {20, 30, 28, 25, 22},
                                .lateral = {0, 35, 34, 31, 30},
                                .valgusVarus = -0.5,
                                .subsidence = {100, 24, 50, -26},
                                .cementValid = true,
                                .cementSubsidence = 50,
                                .compY = {250, 50},
                                .compX = 50};

// The same stem on a film at twice the magnification (k = 0.25), sunk by
// 3, 2, 2 and 2 mm, turned by 0.8 degrees and with femur widths 2 % wider
// (the reference's times 2.04).
const AnalysisResult kFollowUp{.side = "R",
                               .factorHead = 4.0,
                               .medial = {40.8, 61.2, 57.12, 51, 44.88},
                               .lateral = {0, 71.4, 69.36, 63.24, 61.2},
                               .valgusVarus = 0.3,
                               .subsidence = {188, 40, 92, -60},
                               .cementValid = true,
                               .cementSubsidence = 92,
                               .compY = {500, 100},
                               .compX = 100};

Series::Film film(const std::string& name, const std::string& code, const std::string& side,
                  int days, const AnalysisResult& r, double sd = 0.0)
{
    Series::Measurement m{r, Series::headFactor(r), Series::normalise(r)};
    m.result.side = side;
    m.sd.fill(sd);
    return {name, code, "Moser", "Eva", side, days, m};
}

// On a right hip; the sign of the tilt on both sides is the phantom's test,
// and comparability and the flags are the rows' below.
TEST(SeriesMigration, HandBuiltPairGivesEachFormula)
{
    std::vector<Series::Film> films = {film("a", "S-1", "R", 1000, kReference, 0.4),
                                       film("b", "S-1", "R", 1730, kFollowUp, 0.3)};
    Series::SeriesResult s = Series::analyseOne(films, 0, {});
    ASSERT_EQ(s.rows.size(), 2u);
    const Series::FilmRow& r = s.rows[1];
    EXPECT_TRUE(s.rows[0].reference);
    EXPECT_EQ(r.headFactor, 0.25);
    EXPECT_EQ(r.subsidence, 2.25); // mean of 3, 2, 2, 2
    EXPECT_EQ(r.subsidenceSpread, 1.0);
    EXPECT_DOUBLE_EQ(r.subsidenceCi95, 1.96 * 0.5);
    EXPECT_NEAR(r.tilt, -0.8, 1e-12); // valgus-varus rose by 0.8: valgus on a right hip
    EXPECT_EQ(r.cementSubsidence, 2.0);
    EXPECT_NEAR(r.widthChangePct, 2.0, 1e-12);
    EXPECT_NEAR(r.dxMedial[1], 0.02 * 15.0, 1e-12);
    EXPECT_NEAR(r.dxLateral[4], 0.02 * 15.0, 1e-12);
    EXPECT_EQ(r.date, "1974-09-27");
    EXPECT_NEAR(r.months, 730 / 30.4375, 1e-12);
    EXPECT_TRUE(s.summary.overThreshold);
    EXPECT_EQ(s.summary.subsidence24, 2.25);
}

// The follow-up of the hand-built pair changed by one row, on the right side.
struct ComparabilityRow {
    const char* what;
    int days = 730;
    double sink = 0.0;                  // added to the four subsidence values, in pixels
    double y1 = 0.0, y2 = 0.0, x = 0.0; // added to comp-y (1), comp-y (2) and comp-x
    double widths = 1.0;                // factor of the femur widths below the top level
    bool cement = true;
    const char* reason = "";
    bool migration = false;
    bool overThreshold = false;
};

class SeriesComparability : public testing::TestWithParam<ComparabilityRow> {};

TEST_P(SeriesComparability, FirstFailingParameterIsNamed)
{
    const ComparabilityRow& row = GetParam();
    AnalysisResult follow = kFollowUp;
    for (double& v : follow.subsidence)
        v += row.sink;
    follow.compY[0] += row.y1;
    follow.compY[1] += row.y2;
    follow.compX += row.x;
    for (size_t i = 1; i < 5; ++i) {
        follow.medial[i] *= row.widths;
        follow.lateral[i] *= row.widths;
    }
    follow.cementValid = row.cement;
    std::vector<Series::Film> films = {film("a", "S-1", "R", 1000, kReference, 0.4),
                                       film("b", "S-1", "R", 1000 + row.days, follow, 0.3)};
    Series::FilmRow r = Series::analyseOne(films, 0, {}).rows[1];
    EXPECT_EQ(r.reason, row.reason);
    EXPECT_EQ(r.comparable, r.reason.empty());
    EXPECT_EQ(r.migrationDetected, row.migration);
    EXPECT_EQ(r.overThreshold, row.overThreshold);
    EXPECT_EQ(r.cementSubsidence.has_value(), row.cement) << "only with both markers";
}

INSTANTIATE_TEST_SUITE_P(
    Rows, SeriesComparability,
    testing::ValuesIn(std::vector<ComparabilityRow>{
        {.what = "after 30 months no threshold", .days = 940, .migration = true},
        {.what = "before 18 months no threshold", .days = 540, .migration = true},
        {.what = "within the error bar", .sink = 8.0},
        {.what = "comp-y 1", .y1 = 10.0, .reason = "comp-y (1) differs by 2.50 mm"},
        {.what = "comp-y 2 first", .y2 = -8.4, .x = 12, .reason = "comp-y (2) differs by -2.10 mm"},
        {.what = "comp-x", .x = 12.0, .reason = "comp-x differs by 3.00 mm"},
        {.what = "tolerance is comparable", .x = 8.0, .migration = true, .overThreshold = true},
        {.what = "femur widths", .widths = 1.04 / 1.02, .reason = "femur widths differ by 4.0 %"},
        {.what = "no cement marker", .cement = false, .migration = true, .overThreshold = true}}),
    RowName());

TEST(SeriesGrouping, ByPatientAndSideEarliestFirst)
{
    AnalysisResult r = kReference;
    std::vector<Series::Film> films = {
        film("x/late", "S-1", "L", 900, r),  film("x/right", "S-1", "R", 100, r),
        film("b-same-day", "", "L", 50, r),  film("a-same-day", "", "L", 50, r),
        film("x/early", "S-1", "L", 300, r),
    };
    std::vector<Series::SeriesResult> s = Series::analyseSeries(films, {});
    ASSERT_EQ(s.size(), 3u);
    EXPECT_EQ(s[0].summary.series, "Moser Eva L"); // no Study - ID: the names
    EXPECT_EQ(s[0].rows[0].film, "a-same-day");    // equal dates by path
    EXPECT_EQ(s[1].summary.series, "S-1 L");
    EXPECT_EQ(s[1].rows[0].film, "x/early");
    EXPECT_EQ(s[2].summary.films, 1); // the right hip apart

    s = Series::analyseSeries(films, {.reference = "x/late"});
    EXPECT_TRUE(s[1].rows[1].reference);
    EXPECT_EQ(s[1].rows[0].months, -600 / 30.4375);
    EXPECT_TRUE(s[0].rows[0].reference) << "other series keep their earliest film";
}

struct PatternRow {
    const char* what;
    std::vector<std::pair<double, double>> films; // months, subsidence (ci95 0.5, sd 0.2)
    const char* pattern;
};

class SeriesPattern : public testing::TestWithParam<PatternRow> {};

TEST_P(SeriesPattern, FromTheComparableFilms)
{
    std::vector<Series::FilmRow> rows;
    for (auto [months, subsidence] : GetParam().films) {
        Series::FilmRow r;
        r.months = months;
        r.subsidence = subsidence;
        r.reference = months == 0.0;
        r.comparable = subsidence < 90.0; // 99 marks a film that is not comparable
        r.subsidenceCi95 = 0.5;
        r.subsidenceSd = 0.2; // a change between follow-ups is real beyond 0.55
        rows.push_back(r);
    }
    EXPECT_EQ(Series::patternOf(rows), GetParam().pattern);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, SeriesPattern,
    testing::ValuesIn(std::vector<PatternRow>{
        {"stable", {{0, 0}, {6, 0.3}, {12, 0.4}, {24, 0.4}, {36, 0.8}}, "stable"},
        {"early then stable", {{0, 0}, {6, 1}, {24, 1.5}, {36, 1.9}}, "early then stable"},
        {"early and continuing", {{0, 0}, {6, 1}, {24, 1.5}, {36, 2.1}}, "early and continuing"},
        {"late onset", {{0, 0}, {6, 0}, {24, 0.4}, {48, 1.2}}, "late onset"},
        {"nearest 24 months", {{0, 0}, {6, 0}, {20, 0.4}, {30, 2}, {40, 2}}, "late onset"},
        {"non-comparable left out", {{0, 0}, {6, 0}, {12, 0}, {24, 99}, {36, 0}}, "stable"},
        {"three films", {{0, 0}, {12, 0}, {36, 0}, {40, 99}}, "unclassified"},
        {"nothing after 24 months", {{0, 0}, {3, 0}, {6, 0}, {12, 0}, {23, 0}}, "unclassified"},
        {"rising stem", {{0, 0}, {6, -1}, {24, -1}, {36, -1}}, "unclassified"}}),
    RowName());

TEST(SeriesDates, ValidCalendarDatesOnly)
{
    EXPECT_EQ(Series::daysOf("20040229"), 12477);
    for (const char* bad : {"20030229", "2003-1-01", "", "20031301", "2003010a", "00000101"})
        EXPECT_FALSE(Series::daysOf(bad)) << bad;
}

} // namespace
