#include "model/CZor.h"
#include "series/Phantom.h"
#include "series/Series.h"

#include <gtest/gtest.h>
#include <map>

namespace {

// The films of a phantom study read exactly from their landmarks, without
// files, with error bars drawn for clicks of 0.3 pixels.
std::vector<Series::Film> measure(const std::vector<Phantom::Patient>& study)
{
    std::vector<Series::Film> films;
    for (const Phantom::Patient& p : study) {
        for (size_t k = 0; k < p.films.size(); ++k) {
            const Phantom::Film& f = p.films[k];
            CZor zor;
            EXPECT_TRUE(Phantom::fillCase(p, f, Phantom::trueClicks(p, f), zor));
            auto m = std::get<Series::Measurement>(Series::measureFilm(zor, 0.3, 60, 7 + k));
            films.push_back({f.name, p.code, p.famname, p.vorname, m.result.side, f.days, m});
        }
    }
    return films;
}

// Whatever the magnification, in-plane rotation, calibration and side, a
// perfect reading gives back the truth; the films tilted out of plane, and
// only they, are not comparable; each curve gives its pattern.
TEST(PhantomSeries, NoiseFreeFilmsGiveBackTheTruthAndThePattern)
{
    std::vector<Phantom::Patient> study = Phantom::makeStudy({.patients = 12});
    std::vector<Series::SeriesResult> result = Series::analyseSeries(measure(study), {});
    ASSERT_EQ(result.size(), study.size());
    int tilted = 0;
    std::map<std::string, int> varusFilms; // by side: the sign is checked on both
    for (size_t i = 0; i < study.size(); ++i) {
        const Series::SeriesResult& r = result[i];
        EXPECT_EQ(r.summary.pattern, Phantom::curveName(study[i].curve)) << r.summary.series;
        ASSERT_EQ(r.rows.size(), study[i].films.size());
        for (size_t k = 0; k < r.rows.size(); ++k) {
            const Series::FilmRow& row = r.rows[k];
            const Phantom::Film& f = study[i].films[k];
            ASSERT_EQ(row.film, f.name);
            SCOPED_TRACE(row.film);
            EXPECT_EQ(row.comparable, f.comparable) << row.reason;
            if (!f.comparable) {
                ++tilted;
                EXPECT_EQ(row.reason.rfind("comp-y (1) differs by -", 0), 0u) << row.reason;
                continue;
            }
            EXPECT_NEAR(row.subsidence, f.subsidence, 0.01);
            EXPECT_NEAR(row.tilt, f.tilt, 0.01);
            ASSERT_TRUE(row.cementSubsidence);
            EXPECT_NEAR(*row.cementSubsidence, f.cement, 0.01);
            if (f.tilt > 0.5)
                ++varusFilms[r.summary.side];
        }
    }
    EXPECT_GT(tilted, 0);
    EXPECT_GT(varusFilms["L"], 0);
    EXPECT_GT(varusFilms["R"], 0);
}

// Small clicks propagate linearly: twice the noise, twice the spread. The
// axis comes from the contour lines only where they give it back; else its
// own end points are what was placed, and they carry the noise.
TEST(PhantomSeries, ErrorBarsFromThePlacedPoints)
{
    const Phantom::Patient p = Phantom::makeStudy({.patients = 1})[0];
    CZor zor;
    ASSERT_TRUE(Phantom::fillCase(p, p.films[1], Phantom::trueClicks(p, p.films[1]), zor));
    using namespace Series::Value;
    const Series::Values one = Series::clickSpread(zor, 1.0, 400, 3);
    EXPECT_NEAR(Series::clickSpread(zor, 2.0, 400, 3)[Subsidence] / one[Subsidence], 2.0, 0.2);
    EXPECT_GT(one[ValgusVarus], 0.0);
    EXPECT_GT(one[CompY1], 0.0);
    Series::Clicks placed = Series::clicksOf(zor);
    EXPECT_TRUE(placed.hasContours);
    const size_t withContours = Series::placedPoints(placed).size();

    CZor moved = zor;
    moved.AxisLine1.init(0, 0, 0, 0);
    moved.AxisLine2.init(0, 0, 0, 0);
    CZor other = zor;
    other.AxisLine.P1.x += 2.0; // an axis the contour lines do not give
    for (CZor* z : {&moved, &other}) {
        Series::Clicks c = Series::clicksOf(*z);
        EXPECT_FALSE(c.hasContours);
        EXPECT_EQ(Series::placedPoints(c).size(), withContours - 2);
        EXPECT_GT(Series::clickSpread(*z, 1.0, 50, 1)[ValgusVarus], 0.0);
    }
}

} // namespace
