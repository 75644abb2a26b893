// The accuracy of `zor-cli series` on a phantom study of 250 patients x 6
// films (click noise 1 pixel at 0.15 mm per pixel): the 95 % limits of
// measured - true subsidence and tilt over the films found comparable, the
// share of those films whose ci95 covers the truth (it should be 93-97 %),
// and the time of the whole study as a ratio to reading and analysing the
// same cases once.

#include "analysis/Calc.h"
#include "app/cli/Cli.h"
#include "casefile/BinFile.h"
#include "model/CZor.h"
#include "series/Phantom.h"
#include "series/Study.h"

#include <QGuiApplication>

#include <algorithm>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <sstream>

namespace {

constexpr int kPatients = 250;
constexpr int kFilms = 6;
const Series::ImageSize kSize{Phantom::kWidth, Phantom::kHeight};

struct Study {
    std::string folder;
    std::vector<std::string> bitFiles;
    std::map<std::string, Phantom::Film> truth; // by film as listed
};

const Study& study()
{
    static const Study s = [] {
        Study st;
        std::string tmpl = (std::filesystem::temp_directory_path() / "zor-bench-XXXXXX").string();
        st.folder = mkdtemp(tmpl.data());
        std::ostringstream out;
        std::ostringstream err;
        if (Cli::run({"phantom", "--out", st.folder, "--patients=" + std::to_string(kPatients),
                      "--films=" + std::to_string(kFilms), "--no-images"},
                     out, err) != 0) {
            std::fprintf(stderr, "phantom failed: %s\n", err.str().c_str());
            std::exit(1);
        }
        Phantom::Settings ps;
        ps.patients = kPatients;
        ps.films = kFilms;
        for (const Phantom::Patient& p : Phantom::makeStudy(ps)) {
            for (const Phantom::Film& f : p.films) {
                st.truth[f.name + ".bit"] = f;
                st.bitFiles.push_back(st.folder + "/" + f.name + ".bit");
            }
        }
        return st;
    }();
    return s;
}

std::optional<Series::ImageSize> noImage(const std::string&, std::string& error)
{
    error = "no image expected";
    return std::nullopt;
}

double quantile(std::vector<double> v, double q)
{
    std::sort(v.begin(), v.end());
    double at = q * static_cast<double>(v.size() - 1);
    size_t i = static_cast<size_t>(at);
    double f = at - static_cast<double>(i);
    return i + 1 < v.size() ? v[i] * (1 - f) + v[i + 1] * f : v[i];
}

void printAccuracy()
{
    const Study& s = study();
    Series::StudyResult r = Series::analyseStudy({s.folder}, {}, kSize, noImage);
    std::vector<double> subsidence;
    std::vector<double> tilt;
    int covered = 0;
    int tiltCovered = 0;
    int tilted = 0;
    int tiltedCaught = 0;
    int upright = 0;
    int uprightRefused = 0;
    int uprightCovered = 0; // over every film positioned alike, whatever the check found
    for (const Series::SeriesResult& series : r.series) {
        for (const Series::FilmRow& row : series.rows) {
            if (row.reference)
                continue;
            const Phantom::Film& f = s.truth.at(row.film);
            (f.comparable ? upright : tilted) += 1;
            if (!f.comparable && !row.comparable)
                ++tiltedCaught;
            if (f.comparable && !row.comparable)
                ++uprightRefused;
            if (f.comparable)
                uprightCovered += std::fabs(row.subsidence - f.subsidence) <= row.subsidenceCi95;
            if (!row.comparable)
                continue;
            double e = row.subsidence - f.subsidence;
            double t = row.tilt - f.tilt;
            subsidence.push_back(e);
            tilt.push_back(t);
            covered += std::fabs(e) <= row.subsidenceCi95;
            tiltCovered += std::fabs(t) <= row.tiltCi95;
        }
    }
    const double n = static_cast<double>(subsidence.size());
    std::printf("phantom study: %d patients x %d films, click noise 1 px, 0.15 mm per pixel, "
                "%zu left out\n",
                kPatients, kFilms, r.leftOut.size());
    std::printf("  comparable follow-up films: %.0f; tilted films found not comparable: %d of %d;"
                " upright films found not comparable: %d of %d\n",
                n, tiltedCaught, tilted, uprightRefused, upright);
    std::printf("  measured - true subsidence: 95 %% of films within [%.3f, %.3f] mm\n",
                quantile(subsidence, 0.025), quantile(subsidence, 0.975));
    std::printf("  measured - true tilt:       95 %% of films within [%.3f, %.3f] degrees\n",
                quantile(tilt, 0.025), quantile(tilt, 0.975));
    std::printf("  ci95 covers the true subsidence on %.1f %% of the films (should be 93-97 %%)\n",
                100.0 * covered / n);
    std::printf("  ci95 covers the true tilt on %.1f %% of the films\n", 100.0 * tiltCovered / n);
    // The check leaves out films whose head was clicked worst (their k moves
    // comp-y (1) most), so the films it keeps are covered a little more often.
    std::printf("  over all %d films positioned alike the ci95 covers the true subsidence on "
                "%.1f %%\n",
                upright, 100.0 * uprightCovered / upright);
}

double seconds(std::chrono::steady_clock::duration d)
{
    return std::chrono::duration<double>(d).count();
}

// The reference: every case read and analysed once.
double readAndAnalyseSeconds()
{
    auto start = std::chrono::steady_clock::now();
    int results = 0;
    for (const std::string& f : study().bitFiles) {
        CZor zor;
        StderrMessages messages;
        if (BinFile::ReadLandmarkFile(f, kSize.width, kSize.height, zor, messages) &&
            std::holds_alternative<Calc::Analysis>(Calc::Analyse(zor)))
            ++results;
    }
    benchmark::DoNotOptimize(results);
    return seconds(std::chrono::steady_clock::now() - start);
}

void BM_SeriesStudy(benchmark::State& state)
{
    const Study& s = study();
    Series::Settings settings;
    settings.draws = static_cast<int>(state.range(0));
    double studyTotal = 0;
    double onceTotal = 0;
    for (auto _ : state) {
        state.PauseTiming();
        onceTotal += readAndAnalyseSeconds();
        state.ResumeTiming();
        auto start = std::chrono::steady_clock::now();
        Series::StudyResult r = Series::analyseStudy({s.folder}, settings, kSize, noImage);
        studyTotal += seconds(std::chrono::steady_clock::now() - start);
        benchmark::DoNotOptimize(r);
    }
    double n = double(state.iterations()) * static_cast<double>(s.bitFiles.size());
    state.counters["films_per_s"] = n / studyTotal;
    state.counters["time_per_read_and_analyse_once"] = studyTotal / onceTotal;
}

BENCHMARK(BM_SeriesStudy)->ArgName("draws")->Arg(400)->Unit(benchmark::kMillisecond)->Iterations(2);

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    printAccuracy();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::filesystem::remove_all(study().folder);
    return 0;
}
