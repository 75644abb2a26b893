#include "series/Series.h"

#include "../support/RowName.h"

#include <gtest/gtest.h>

namespace {

// A reference whose head factor is 2 (k = 0.5) and the values the hand
// computations below start from.
AnalysisResult referenceResult()
{
    AnalysisResult r;
    r.side = "R";
    r.factorHead = 2.0;
    r.medial = {20, 30, 28, 25, 22};
    r.lateral = {0, 35, 34, 31, 30};
    r.valgusVarus = -0.5;
    r.subsidence = {100, 24, 50, -26};
    r.cementValid = true;
    r.cementSubsidence = 50;
    r.compY = {250, 50};
    r.compX = 50;
    return r;
}

// The same stem on a film at twice the magnification (k = 0.25), sunk by
// 3, 2, 2 and 2 mm, turned by 0.8 degrees and with femur widths 2 % wider.
AnalysisResult followUpResult()
{
    AnalysisResult r = referenceResult();
    r.factorHead = 4.0;
    for (size_t i = 0; i < 5; ++i) {
        r.medial[i] *= 2.0 * 1.02;
        r.lateral[i] *= 2.0 * 1.02;
    }
    r.valgusVarus = 0.3;
    r.subsidence = {188, 40, 92, -60};
    r.cementSubsidence = 92;
    r.compY = {500, 100};
    r.compX = 100;
    return r;
}

Series::Film film(const std::string& name, const std::string& code, const std::string& side,
                  int days, const AnalysisResult& r, double sd = 0.0)
{
    Series::Film f;
    f.film = name;
    f.code = code;
    f.famname = "Moser";
    f.vorname = "Eva";
    f.side = side;
    f.days = days;
    f.measurement.result = r;
    f.measurement.result.side = side;
    f.measurement.k = Series::headFactor(r);
    f.measurement.value = Series::normalise(r);
    f.measurement.sd.fill(sd);
    return f;
}

TEST(SeriesMigration, HandBuiltPairGivesEachFormula)
{
    for (const char* side : {"R", "L"}) {
        SCOPED_TRACE(side);
        std::vector<Series::Film> films = {film("a", "S-1", side, 1000, referenceResult(), 0.4),
                                           film("b", "S-1", side, 1730, followUpResult(), 0.3)};
        Series::SeriesResult s = Series::analyseOne(films, 0, {});
        ASSERT_EQ(s.rows.size(), 2u);
        const Series::FilmRow& r = s.rows[1];
        EXPECT_TRUE(s.rows[0].reference);
        EXPECT_EQ(r.headFactor, 0.25);
        EXPECT_EQ(r.subsidence, 2.25); // mean of 3, 2, 2, 2
        EXPECT_EQ(r.subsidenceSpread, 1.0);
        EXPECT_DOUBLE_EQ(r.subsidenceCi95, 1.96 * 0.5);
        // valgus-varus rose by 0.8: varus on a left hip, valgus on a right one
        EXPECT_NEAR(r.tilt, side[0] == 'L' ? 0.8 : -0.8, 1e-12);
        EXPECT_EQ(r.cementSubsidence, 2.0);
        EXPECT_EQ(r.dCompY1, 0.0);
        EXPECT_EQ(r.dCompY2, 0.0);
        EXPECT_EQ(r.dCompX, 0.0);
        EXPECT_NEAR(r.widthChangePct, 2.0, 1e-12);
        EXPECT_NEAR(r.dxMedial[1], 0.02 * 15.0, 1e-12);
        EXPECT_NEAR(r.dxLateral[4], 0.02 * 15.0, 1e-12);
        EXPECT_TRUE(r.comparable);
        EXPECT_EQ(r.date, "1974-09-27");
        EXPECT_NEAR(r.months, 730 / 30.4375, 1e-12);
        EXPECT_TRUE(r.migrationDetected);
        EXPECT_TRUE(r.overThreshold);
        EXPECT_TRUE(s.summary.overThreshold);
        EXPECT_EQ(s.summary.subsidence24, 2.25);
    }
}

struct ComparabilityRow {
    const char* what;
    void (*change)(AnalysisResult&);
    int days;
    const char* reason;
    bool migration;
    bool overThreshold;
};

class SeriesComparability : public testing::TestWithParam<ComparabilityRow> {};

TEST_P(SeriesComparability, FirstFailingParameterIsNamed)
{
    const ComparabilityRow& row = GetParam();
    AnalysisResult follow = followUpResult();
    row.change(follow);
    std::vector<Series::Film> films = {film("a", "S-1", "R", 1000, referenceResult(), 0.4),
                                       film("b", "S-1", "R", 1000 + row.days, follow, 0.3)};
    Series::FilmRow r = Series::analyseOne(films, 0, {}).rows[1];
    EXPECT_EQ(r.reason, row.reason);
    EXPECT_EQ(r.comparable, r.reason.empty());
    EXPECT_EQ(r.migrationDetected, row.migration);
    EXPECT_EQ(r.overThreshold, row.overThreshold);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, SeriesComparability,
    testing::Values(ComparabilityRow{"comparable", [](AnalysisResult&) {}, 730, "", true, true},
                    ComparabilityRow{"after 30 months no threshold", [](AnalysisResult&) {}, 940,
                                     "", true, false},
                    ComparabilityRow{"before 18 months no threshold", [](AnalysisResult&) {}, 540,
                                     "", true, false},
                    ComparabilityRow{"within the error bar",
                                     [](AnalysisResult& r) {
                                         r.subsidence = {196, 48, 100, -52};
                                     },
                                     730, "", false, false},
                    ComparabilityRow{"comp-y 1", [](AnalysisResult& r) { r.compY[0] += 10.0; }, 730,
                                     "comp-y (1) differs by 2.50 mm", false, false},
                    ComparabilityRow{"comp-y 2 before comp-x",
                                     [](AnalysisResult& r) {
                                         r.compY[1] -= 8.4;
                                         r.compX += 12.0;
                                     },
                                     730, "comp-y (2) differs by -2.10 mm", false, false},
                    ComparabilityRow{"comp-x", [](AnalysisResult& r) { r.compX += 12.0; }, 730,
                                     "comp-x differs by 3.00 mm", false, false},
                    ComparabilityRow{"tolerance itself is comparable",
                                     [](AnalysisResult& r) { r.compX += 8.0; }, 730, "", true,
                                     true},
                    ComparabilityRow{"femur widths",
                                     [](AnalysisResult& r) {
                                         for (size_t i = 1; i < 5; ++i) {
                                             r.medial[i] *= 1.04 / 1.02;
                                             r.lateral[i] *= 1.04 / 1.02;
                                         }
                                     },
                                     730, "femur widths differ by 4.0 %", false, false}),
    RowName());

TEST(SeriesMigration, NoCementValueWithoutBothMarkers)
{
    AnalysisResult follow = followUpResult();
    follow.cementValid = false;
    std::vector<Series::Film> films = {film("a", "S-1", "R", 0, referenceResult()),
                                       film("b", "S-1", "R", 30, follow)};
    EXPECT_FALSE(Series::analyseOne(films, 0, {}).rows[1].cementSubsidence);
}

TEST(SeriesGrouping, ByPatientAndSideEarliestFirst)
{
    AnalysisResult r = referenceResult();
    std::vector<Series::Film> films = {
        film("x/late", "S-1", "L", 900, r),  film("x/right", "S-1", "R", 100, r),
        film("b-same-day", "", "L", 50, r),  film("a-same-day", "", "L", 50, r),
        film("x/early", "S-1", "L", 300, r),
    };
    std::vector<Series::SeriesResult> s = Series::analyseSeries(films, {});
    ASSERT_EQ(s.size(), 3u);
    EXPECT_EQ(s[0].summary.series, "Moser Eva L"); // no Study - ID: the names
    EXPECT_EQ(s[0].rows[0].film, "a-same-day");    // equal dates by path
    EXPECT_TRUE(s[0].rows[0].reference);
    EXPECT_EQ(s[1].summary.series, "S-1 L");
    EXPECT_EQ(s[1].rows[0].film, "x/early");
    EXPECT_EQ(s[1].rows[1].months, 600 / 30.4375);
    EXPECT_EQ(s[2].summary.series, "S-1 R");
    EXPECT_EQ(s[2].summary.films, 1);

    Series::Settings named;
    named.reference = "x/late";
    s = Series::analyseSeries(films, named);
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
    testing::Values(
        PatternRow{"stable", {{0, 0}, {6, 0.3}, {12, 0.4}, {24, 0.4}, {36, 0.8}}, "stable"},
        PatternRow{
            "early then stable", {{0, 0}, {6, 1}, {24, 1.5}, {36, 1.9}}, "early then stable"},
        PatternRow{
            "early and continuing", {{0, 0}, {6, 1}, {24, 1.5}, {36, 2.1}}, "early and continuing"},
        PatternRow{"late onset", {{0, 0}, {6, 0}, {24, 0.4}, {48, 1.2}}, "late onset"},
        PatternRow{
            "nearest 24 months", {{0, 0}, {6, 0}, {20, 0.4}, {30, 2}, {40, 2}}, "late onset"},
        PatternRow{
            "non-comparable left out", {{0, 0}, {6, 0}, {12, 0}, {24, 99}, {36, 0}}, "stable"},
        PatternRow{"three films", {{0, 0}, {12, 0}, {36, 0}, {40, 99}}, "unclassified"},
        PatternRow{
            "nothing after 24 months", {{0, 0}, {3, 0}, {6, 0}, {12, 0}, {23, 0}}, "unclassified"},
        PatternRow{"rising stem", {{0, 0}, {6, -1}, {24, -1}, {36, -1}}, "unclassified"}),
    RowName());

TEST(SeriesDates, ValidCalendarDatesOnly)
{
    EXPECT_EQ(Series::daysOf("19700101"), 0);
    EXPECT_EQ(Series::daysOf("20040229"), 12477);
    for (const char* bad : {"20030229", "2003-1-01", "", "20031301", "2003010a", "00000101"})
        EXPECT_FALSE(Series::daysOf(bad)) << bad;
    EXPECT_EQ(Series::isoDate(12477), "2004-02-29");
}

} // namespace
