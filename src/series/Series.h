#pragma once

#include "series/Measure.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// The films of one patient over time: which are comparable with the
// reference film, how far the stem has sunk and tilted since, and how sure
// each number is.
namespace Series {

// Everything a study's computation can be told; the command line and the
// study window fill it.
struct Settings {
    double tolerance = 2.0;      // mm, for comp-y (1), comp-y (2), comp-x
    double widthTolerance = 3.0; // percent, mean change of the femur widths
    double threshold = 1.5;      // mm of subsidence 18-30 months after the reference
    double clickSd = 1.0;        // image pixels
    int draws = 400;
    uint64_t seed = 1;
    std::string reference; // a film (as listed) to use as reference, or ""
};

// One analysed film of a study.
struct Film {
    std::string film; // the case path as given, or relative to the folder given
    std::string code;
    std::string famname;
    std::string vorname;
    std::string side; // "L" or "R"
    int days = 0;     // radiograph date as days since 1970-01-01
    Measurement measurement;
};

// A case that could not be used, and why.
struct LeftOut {
    std::string film;
    std::string reason;
};

// One film against its series' reference. Migration values are the
// reference's normalised value minus the film's (positive when the stem has
// sunk); changes (d_...) are the film's minus the reference's. ci95 is
// 1.96 x sqrt(sd_film^2 + sd_reference^2); the reference row has none.
struct FilmRow {
    std::string film;
    std::string date; // YYYY-MM-DD
    double months = 0.0;
    bool reference = false;
    bool comparable = false;
    std::string reason; // why the film is not comparable
    double headFactor = 1.0;
    double subsidence = 0.0;
    double subsidenceCi95 = 0.0;
    double subsidenceSpread = 0.0; // range of the four migration values
    double subsidenceSd = 0.0;     // the film's own, for changes between follow-ups
    bool migrationDetected = false;
    double tilt = 0.0; // degrees, positive into varus on either side
    double tiltCi95 = 0.0;
    std::optional<double> cementSubsidence;
    std::optional<double> cementCi95;
    double dCompY1 = 0.0;
    double dCompY2 = 0.0;
    double dCompX = 0.0;
    double widthChangePct = 0.0; // mean relative change of the four femur widths
    std::array<double, 5> dxMedial{};
    std::array<double, 5> dxLateral{};
    std::array<double, 5> dxMedialCi95{};
    std::array<double, 5> dxLateralCi95{};
    bool overThreshold = false;
};

struct SeriesSummary {
    std::string series; // patient and side, e.g. "S-17 R"
    std::string code;
    std::string famname;
    std::string vorname;
    std::string side;
    int films = 0;
    int comparableFilms = 0;
    double followupMonths = 0.0;        // of the last comparable film
    double subsidenceLast = 0.0;        // of the last comparable film
    std::optional<double> subsidence24; // of the comparable film nearest 24 months
    double maxAbsTilt = 0.0;
    std::string pattern;
    bool overThreshold = false;
};

struct SeriesResult {
    SeriesSummary summary;
    std::vector<FilmRow> rows; // by date, equal dates by film
};

struct StudyResult {
    std::vector<SeriesResult> series; // by series name
    std::vector<LeftOut> leftOut;
    bool referenceMissing = false; // the named reference is no film of the study
};

// The patient of a film: "Study - ID" when given, else family and given name.
std::string patientOf(const Film& f);

// Groups films by patient and side and works out every series. A named
// reference applies to its own series; the others start at their earliest
// film.
std::vector<SeriesResult> analyseSeries(std::vector<Film> films, const Settings& settings);

// The rows of one series against the film at index `reference` (films in
// date order).
SeriesResult analyseOne(const std::vector<Film>& films, size_t reference, const Settings& settings);

// "stable", "early then stable", "early and continuing", "late onset" or
// "unclassified", from the comparable rows.
std::string patternOf(const std::vector<FilmRow>& rows);

// Days since 1970-01-01 of a "yyyymmdd" date; none for anything else.
std::optional<int> daysOf(const std::string& datum);
// "YYYY-MM-DD" of days since 1970-01-01.
std::string isoDate(int days);

} // namespace Series
