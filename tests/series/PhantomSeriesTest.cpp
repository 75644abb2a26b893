#include "model/CZor.h"
#include "series/Phantom.h"
#include "series/Series.h"

#include <gtest/gtest.h>
#include <map>

namespace {

// Films of a phantom study measured straight from their landmarks, without
// files: what a perfect (sd 0) or noisy reading gives.
std::vector<Series::Film> measure(const std::vector<Phantom::Patient>& study, double sd, int draws)
{
    std::vector<Series::Film> films;
    for (size_t i = 0; i < study.size(); ++i) {
        const Phantom::Patient& p = study[i];
        for (size_t k = 0; k < p.films.size(); ++k) {
            const Phantom::Film& f = p.films[k];
            std::mt19937_64 rng(Phantom::clickSeed({}, i, k));
            CZor zor;
            EXPECT_TRUE(Phantom::fillCase(p, f, Phantom::noisyClicks(p, f, sd, rng), zor));
            auto m = Series::measureFilm(zor, sd, draws, 7 + k);
            EXPECT_TRUE(std::holds_alternative<Series::Measurement>(m));
            Series::Film film;
            film.film = f.name;
            film.code = p.code;
            film.famname = p.famname;
            film.vorname = p.vorname;
            film.measurement = std::get<Series::Measurement>(m);
            film.side = film.measurement.result.side;
            film.days = f.days;
            films.push_back(film);
        }
    }
    return films;
}

const Phantom::Film* truthOf(const std::vector<Phantom::Patient>& study, const std::string& name)
{
    for (const Phantom::Patient& p : study)
        for (const Phantom::Film& f : p.films)
            if (f.name == name)
                return &f;
    return nullptr;
}

TEST(PhantomSeries, NoiseFreeFilmsGiveBackTheTruth)
{
    Phantom::Settings s;
    s.patients = 12;
    std::vector<Phantom::Patient> study = Phantom::makeStudy(s);
    std::vector<Series::SeriesResult> result = Series::analyseSeries(measure(study, 0.0, 2), {});
    ASSERT_EQ(result.size(), study.size());
    int tilted = 0;
    std::map<std::string, int> varusFilms; // by side: the sign is checked on both
    for (const Series::SeriesResult& r : result) {
        for (const Series::FilmRow& row : r.rows) {
            const Phantom::Film* f = truthOf(study, row.film);
            ASSERT_TRUE(f);
            SCOPED_TRACE(row.film);
            EXPECT_EQ(row.comparable, f->comparable) << row.reason;
            if (!f->comparable) {
                ++tilted;
                continue;
            }
            EXPECT_NEAR(row.subsidence, f->subsidence, 0.01);
            EXPECT_NEAR(row.tilt, f->tilt, 0.01);
            if (f->tilt > 0.5)
                ++varusFilms[r.summary.side];
            ASSERT_TRUE(row.cementSubsidence);
            EXPECT_NEAR(*row.cementSubsidence, f->cement, 0.01);
        }
    }
    EXPECT_GT(tilted, 0);
    EXPECT_GT(varusFilms["L"], 0);
    EXPECT_GT(varusFilms["R"], 0);
}

} // namespace
