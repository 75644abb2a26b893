#include "series/Measure.h"

#include "analysis/Calc.h"
#include "model/CZor.h"

#include <cmath>
#include <random>

namespace Series {

std::variant<AnalysisResult, std::string> analyseFilm(const CZor& zor)
{
    Calc::Outcome outcome = Calc::Analyse(zor);
    if (auto* a = std::get_if<Calc::Analysis>(&outcome))
        return a->result;
    if (auto* r = std::get_if<Calc::Refusal>(&outcome))
        return r->what + " (" + r->how + ")";
    return std::string("no head diameter");
}

double headFactor(const AnalysisResult& r)
{
    return 1.0 / r.factorHead;
}

Values normalise(const AnalysisResult& r)
{
    const double k = headFactor(r);
    Values v{};
    double sum = 0.0;
    for (size_t i = 0; i < 4; ++i) {
        v[Value::Subsidence1 + i] = k * r.subsidence[i];
        sum += r.subsidence[i];
    }
    v[Value::Subsidence] = k * sum / 4.0;
    v[Value::ValgusVarus] = r.valgusVarus;
    v[Value::Cement] = r.cementValid ? k * r.cementSubsidence : 0.0;
    v[Value::CompY1] = k * r.compY[0];
    v[Value::CompY2] = k * r.compY[1];
    v[Value::CompX] = k * r.compX;
    for (size_t i = 0; i < 5; ++i) {
        v[Value::Medial1 + i] = k * r.medial[i];
        v[Value::Lateral1 + i] = k * r.lateral[i];
    }
    for (size_t i = 0; i < 4; ++i)
        v[Value::Width1 + i] = k * (r.medial[i + 1] + r.lateral[i + 1]);
    return v;
}

Values clickSpread(const CZor& film, double sigma, int draws, uint64_t seed, int* used)
{
    const Clicks clicks = clicksOf(film);
    CZor scratch = film;
    std::mt19937_64 rng(seed);
    std::normal_distribution<double> noise(0.0, sigma);
    Values mean{};
    Values m2{};
    int n = 0;
    Clicks drawn = clicks;
    std::vector<Point*> targets = placedPoints(drawn);
    std::vector<Point> original;
    for (const Point* p : targets)
        original.push_back(*p);
    for (int d = 0; d < draws; ++d) {
        for (size_t i = 0; i < targets.size(); ++i) {
            targets[i]->x = original[i].x + (sigma > 0.0 ? noise(rng) : 0.0);
            targets[i]->y = original[i].y + (sigma > 0.0 ? noise(rng) : 0.0);
        }
        if (!applyClicks(drawn, scratch))
            continue;
        auto r = analyseFilm(scratch);
        if (!std::holds_alternative<AnalysisResult>(r))
            continue;
        Values v = normalise(std::get<AnalysisResult>(r));
        ++n;
        // Welford's update, stable for small spreads on large values.
        for (size_t i = 0; i < v.size(); ++i) {
            double delta = v[i] - mean[i];
            mean[i] += delta / n;
            m2[i] += delta * (v[i] - mean[i]);
        }
    }
    if (used)
        *used = n;
    Values sd{};
    if (n > 1)
        for (size_t i = 0; i < sd.size(); ++i)
            sd[i] = std::sqrt(m2[i] / (n - 1));
    return sd;
}

std::variant<Measurement, std::string> measureFilm(const CZor& zor, double sigma, int draws,
                                                   uint64_t seed)
{
    auto r = analyseFilm(zor);
    if (auto* why = std::get_if<std::string>(&r))
        return *why;
    Measurement m;
    m.result = std::get<AnalysisResult>(r);
    // The analysis refuses a head without a fitted circle; a measured radius
    // of 0 would still make every normalised value infinite.
    if (!(m.result.factorHead > 0.0))
        return std::string("the head has no radius (use Measurement Tool 'Head')");
    m.k = headFactor(m.result);
    m.value = normalise(m.result);
    m.sd = clickSpread(zor, sigma, draws, seed, &m.draws);
    return m;
}

} // namespace Series
