#pragma once

#include "analysis/AnalysisResult.h"
#include "series/Clicks.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <variant>

class CZor;

namespace Series {

// The normalised values of one film: lengths multiplied by the head factor
// k = true head radius / measured head radius, so that films of any
// magnification or calibration compare; angles as they are.
namespace Value {
inline constexpr size_t Subsidence = 0;  // mean of the four subsidence values
inline constexpr size_t Subsidence1 = 1; // .. Subsidence1 + 3
inline constexpr size_t ValgusVarus = 5;
inline constexpr size_t Cement = 6;
inline constexpr size_t CompY1 = 7;
inline constexpr size_t CompY2 = 8;
inline constexpr size_t CompX = 9;
inline constexpr size_t Medial1 = 10;  // .. Medial1 + 4
inline constexpr size_t Lateral1 = 15; // .. Lateral1 + 4
inline constexpr size_t Width1 = 20;   // medial + lateral at the femur-point levels, .. Width1 + 3
inline constexpr size_t Count = 24;
} // namespace Value

using Values = std::array<double, Value::Count>;

// The analysis of a film as it stands, or the reason it gives none.
std::variant<AnalysisResult, std::string> analyseFilm(const CZor& zor);

// k and the normalised values of a result.
double headFactor(const AnalysisResult& r);
Values normalise(const AnalysisResult& r);

struct Measurement {
    AnalysisResult result;
    double k = 1.0;
    Values value{};
    Values sd{};   // Monte-Carlo standard deviations of the normalised values
    int draws = 0; // draws that gave a result
};

// Monte-Carlo spread of the normalised values: `draws` times, independent
// Gaussian noise of `sigma` image pixels on x and y of every placed point,
// then the head refitted, the axis rebuilt and the analysis run again on a
// copy of film. Draws that give no result are not counted (*used says how
// many did).
Values clickSpread(const CZor& film, double sigma, int draws, uint64_t seed, int* used = nullptr);

// Analyses a film as read from its landmark file and works out its spread;
// the reason when the analysis gives no result.
std::variant<Measurement, std::string> measureFilm(const CZor& zor, double sigma, int draws,
                                                   uint64_t seed);

} // namespace Series
