#include "series/Series.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <map>

namespace Series {

namespace {

constexpr double kDaysPerMonth = 30.4375;
constexpr double kZ95 = 1.96;

double ci95(double sdFilm, double sdRef)
{
    return kZ95 * std::sqrt(sdFilm * sdFilm + sdRef * sdRef);
}

std::string fixed(double v, int decimals)
{
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.*f", decimals, v);
    return buf;
}

// The first comparability parameter that fails, with its value; "" when
// the film is comparable.
std::string comparability(const FilmRow& r, const Settings& s)
{
    const struct {
        const char* name;
        double value;
    } lengths[] = {{"comp-y (1)", r.dCompY1}, {"comp-y (2)", r.dCompY2}, {"comp-x", r.dCompX}};
    for (const auto& l : lengths)
        if (!(std::fabs(l.value) <= s.tolerance))
            return std::string(l.name) + " differs by " + fixed(l.value, 2) + " mm";
    if (!(std::fabs(r.widthChangePct) <= s.widthTolerance))
        return "femur widths differ by " + fixed(r.widthChangePct, 1) + " %";
    return "";
}

std::string seriesName(const Film& f)
{
    return patientOf(f) + " " + f.side;
}

} // namespace

std::string patientOf(const Film& f)
{
    if (!f.code.empty())
        return f.code;
    return f.famname + " " + f.vorname;
}

std::optional<int> daysOf(const std::string& datum)
{
    if (datum.size() != 8)
        return std::nullopt;
    for (char c : datum)
        if (c < '0' || c > '9')
            return std::nullopt;
    int y = std::stoi(datum.substr(0, 4));
    unsigned m = static_cast<unsigned>(std::stoi(datum.substr(4, 2)));
    unsigned d = static_cast<unsigned>(std::stoi(datum.substr(6, 2)));
    std::chrono::year_month_day ymd{std::chrono::year(y), std::chrono::month(m),
                                    std::chrono::day(d)};
    if (y < 1 || !ymd.ok())
        return std::nullopt;
    return static_cast<int>(std::chrono::sys_days(ymd).time_since_epoch().count());
}

std::string isoDate(int days)
{
    std::chrono::year_month_day ymd{std::chrono::sys_days(std::chrono::days(days))};
    char buf[16];
    std::snprintf(buf, sizeof buf, "%04d-%02u-%02u", static_cast<int>(ymd.year()),
                  static_cast<unsigned>(ymd.month()), static_cast<unsigned>(ymd.day()));
    return buf;
}

SeriesResult analyseOne(const std::vector<Film>& films, size_t reference, const Settings& s)
{
    SeriesResult out;
    const Film& ref = films.at(reference);
    const Measurement& mr = ref.measurement;
    for (size_t i = 0; i < films.size(); ++i) {
        const Film& f = films[i];
        const Measurement& m = f.measurement;
        const Values& v = m.value;
        const Values& sd = m.sd;
        FilmRow r;
        r.film = f.film;
        r.date = isoDate(f.days);
        r.months = (f.days - ref.days) / kDaysPerMonth;
        r.reference = i == reference;
        r.headFactor = m.k;
        r.subsidenceSd = sd[Value::Subsidence];

        // Migration: reference minus film, positive when sunk.
        double lo = 0.0;
        double hi = 0.0;
        for (size_t j = 0; j < 4; ++j) {
            double d = mr.value[Value::Subsidence1 + j] - v[Value::Subsidence1 + j];
            lo = j == 0 ? d : std::min(lo, d);
            hi = j == 0 ? d : std::max(hi, d);
        }
        r.subsidence = mr.value[Value::Subsidence] - v[Value::Subsidence];
        r.subsidenceSpread = hi - lo;
        r.subsidenceCi95 = ci95(sd[Value::Subsidence], mr.sd[Value::Subsidence]);
        // The analysis' valgus-varus is measured with x to the right of the
        // image on both sides: varus makes it fall on a right hip and rise
        // on a left one.
        double sign = f.side == "L" ? 1.0 : -1.0;
        r.tilt = sign * (v[Value::ValgusVarus] - mr.value[Value::ValgusVarus]);
        r.tiltCi95 = ci95(sd[Value::ValgusVarus], mr.sd[Value::ValgusVarus]);
        if (m.result.cementValid && mr.result.cementValid) {
            r.cementSubsidence = mr.value[Value::Cement] - v[Value::Cement];
            r.cementCi95 = ci95(sd[Value::Cement], mr.sd[Value::Cement]);
        }
        r.dCompY1 = v[Value::CompY1] - mr.value[Value::CompY1];
        r.dCompY2 = v[Value::CompY2] - mr.value[Value::CompY2];
        r.dCompX = v[Value::CompX] - mr.value[Value::CompX];
        double widths = 0.0;
        for (size_t j = 0; j < 4; ++j)
            widths +=
                (v[Value::Width1 + j] - mr.value[Value::Width1 + j]) / mr.value[Value::Width1 + j];
        r.widthChangePct = 100.0 * widths / 4.0;
        for (size_t j = 0; j < 5; ++j) {
            r.dxMedial[j] = v[Value::Medial1 + j] - mr.value[Value::Medial1 + j];
            r.dxLateral[j] = v[Value::Lateral1 + j] - mr.value[Value::Lateral1 + j];
            r.dxMedialCi95[j] = ci95(sd[Value::Medial1 + j], mr.sd[Value::Medial1 + j]);
            r.dxLateralCi95[j] = ci95(sd[Value::Lateral1 + j], mr.sd[Value::Lateral1 + j]);
        }

        if (r.reference) {
            r.comparable = true;
        } else {
            r.reason = comparability(r, s);
            r.comparable = r.reason.empty();
        }
        if (r.comparable && !r.reference) {
            r.migrationDetected = r.subsidence > r.subsidenceCi95;
            r.overThreshold = r.months >= 18.0 && r.months <= 30.0 && r.subsidence > s.threshold;
        }
        out.rows.push_back(r);
    }

    SeriesSummary& sum = out.summary;
    sum.series = seriesName(ref);
    sum.code = ref.code;
    sum.famname = ref.famname;
    sum.vorname = ref.vorname;
    sum.side = ref.side;
    sum.films = static_cast<int>(films.size());
    const FilmRow* nearest24 = nullptr;
    for (const FilmRow& r : out.rows) {
        if (!r.comparable)
            continue;
        ++sum.comparableFilms;
        // Rows are in date order: the last comparable one is the follow-up.
        sum.followupMonths = r.months;
        sum.subsidenceLast = r.subsidence;
        sum.maxAbsTilt = std::max(sum.maxAbsTilt, std::fabs(r.tilt));
        sum.overThreshold = sum.overThreshold || r.overThreshold;
        if (!nearest24 || std::fabs(r.months - 24.0) < std::fabs(nearest24->months - 24.0))
            nearest24 = &r;
    }
    if (nearest24 && !nearest24->reference)
        sum.subsidence24 = nearest24->subsidence;
    sum.pattern = patternOf(out.rows);
    return out;
}

std::string patternOf(const std::vector<FilmRow>& rows)
{
    std::vector<const FilmRow*> c;
    for (const FilmRow& r : rows)
        if (r.comparable)
            c.push_back(&r);
    bool late = std::any_of(c.begin(), c.end(), [](const FilmRow* r) { return r->months >= 24.0; });
    if (c.size() < 4 || !late)
        return "unclassified";
    const FilmRow* s24 = c.front();
    const FilmRow* last = c.front();
    for (const FilmRow* r : c) {
        if (std::fabs(r->months - 24.0) < std::fabs(s24->months - 24.0))
            s24 = r;
        if (r->months >= last->months)
            last = r;
    }
    // Real when beyond the combined ci95: against the reference for S24,
    // between the two follow-ups (the reference cancels) for the change.
    int early = s24->subsidence > s24->subsidenceCi95    ? 1
                : s24->subsidence < -s24->subsidenceCi95 ? -1
                                                         : 0;
    double change = last->subsidence - s24->subsidence;
    double changeCi = ci95(last->subsidenceSd, s24->subsidenceSd);
    int later = change > changeCi ? 1 : change < -changeCi ? -1 : 0;
    if (early == 0 && later == 0)
        return "stable";
    if (early == 1 && later == 0)
        return "early then stable";
    if (early == 1 && later == 1)
        return "early and continuing";
    if (early == 0 && later == 1)
        return "late onset";
    return "unclassified";
}

std::vector<SeriesResult> analyseSeries(std::vector<Film> films, const Settings& s)
{
    std::map<std::string, std::vector<Film>> groups;
    for (Film& f : films)
        groups[seriesName(f)].push_back(std::move(f));
    std::vector<SeriesResult> out;
    for (auto& [name, group] : groups) {
        std::sort(group.begin(), group.end(), [](const Film& a, const Film& b) {
            return a.days != b.days ? a.days < b.days : a.film < b.film;
        });
        size_t reference = 0;
        for (size_t i = 0; i < group.size(); ++i)
            if (!s.reference.empty() && group[i].film == s.reference)
                reference = i;
        out.push_back(analyseOne(group, reference, s));
    }
    return out;
}

} // namespace Series
