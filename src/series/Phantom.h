#pragma once

#include "series/Clicks.h"

#include <array>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

class CZor;

// A synthetic study with known truth: stems in femurs, sinking and tilting
// over the follow-up films by known curves, each film at its own
// magnification and in-plane rotation, some deliberately tilted out of plane,
// and every landmark clicked with Gaussian noise.
//
// Geometry is in millimetres in the femur's frame: the femoral axis is x = 0,
// y points up, y = 0 is the level of the stem shoulder on the first film, and
// medial is +x (a right hip; a left hip is mirrored when projected).
namespace Phantom {

struct Settings {
    int patients = 10;
    int films = 6;
    uint64_t seed = 1;
    double clickSd = 1.0;  // image pixels
    double pixelMm = 0.15; // film millimetres per image pixel
};

// Size of every phantom film in pixels.
inline constexpr int kWidth = 1400;
inline constexpr int kHeight = 2900;

enum class Curve { Stable, EarlyThenStable, EarlyAndContinuing, LateOnset };
// The pattern name the series analysis should find for a curve.
const char* curveName(Curve c);

struct Anatomy {
    double stemLength = 225.0; // shoulder to tip along the stem axis
    double stemHalfTop = 9.0;  // half width at the shoulder
    double stemHalfTip = 3.5;  // half width at the tip
    double stemAngle = 0.0;    // degrees of the stem against the femur, first film
    double neckOffset = 40.0;  // head centre medial of the axis
    double neckHeight = 30.0;  // head centre above the shoulder
    double headRadius = 14.0;  // true radius
    double gtLevel = 10.0;     // tip of the greater trochanter
    double ltLevel = -50.0;    // tip of the lesser trochanter
    double ltBump = 8.0;       // how far it stands out of the cortex
    double femurHalfShaft = 15.0;
    double femurHalfTop = 26.0;
    double cementDepth = 12.0;           // cement marker below the tip
    std::array<double, 4> pointLevels{}; // femur points, top to bottom

    double femurHalfWidth(double y) const;
    // ys along the stem axis from the shoulder (0) down to the tip (-length)
    double stemHalfWidth(double ys) const;
};

// Where the stem is on a film: sunk along the femoral axis and turned into
// varus about its tip, against the first film.
struct Pose {
    double sinking = 0.0; // mm
    double varus = 0.0;   // degrees
};

// How a film maps the femur's frame to image pixels.
struct Projection {
    bool left = false;
    double magnification = 1.18;
    double rotation = 0.0;   // degrees in the film plane
    double outOfPlane = 0.0; // degrees of tilt about the mediolateral axis
    double pixelMm = 0.15;
};

struct Film {
    std::string name; // path of the case without extension, relative to the study
    int days = 0;     // since 1970-01-01
    double months = 0.0;
    Pose pose;
    Projection projection;
    bool comparable = true;
    bool defaultCalibration = false; // calibrated with the 430 mm default
    // The truth: what a perfect reading of a perfectly positioned film gives.
    double subsidence = 0.0; // mm against the first film, mean of the four values
    double cement = 0.0;     // stem/cement interface, mm against the first film
    double tilt = 0.0;       // degrees into varus
};

struct Patient {
    std::string code;
    std::string famname;
    std::string vorname;
    Curve curve = Curve::Stable;
    Anatomy anatomy;
    std::vector<Film> films;
};

std::vector<Patient> makeStudy(const Settings& s);

// A point fixed to the stem (stem axis x = 0, shoulder level y = 0) in the
// femur's frame for a pose.
Series::Point stemToFemur(const Anatomy& a, const Pose& p, Series::Point stem);
// A point of the femur's frame in image pixels.
Series::Point toImage(const Projection& pr, const Anatomy& a, Series::Point femur);
// Image pixels per millimetre of the femur's frame.
double pixelsPerMm(const Projection& pr);

// The four subsidence values and the cement-interface value of the analysis,
// worked out on the true geometry.
std::array<double, 4> trueSubsidenceValues(const Anatomy& a, const Pose& p);
double trueCementValue(const Anatomy& a, const Pose& p);

// The landmarks a user would place, exactly.
Series::Clicks trueClicks(const Patient& p, const Film& f);
// The same with Gaussian noise of sd pixels on every placed point.
Series::Clicks noisyClicks(const Patient& p, const Film& f, double sd, std::mt19937_64& rng);

// A case as the program keeps it: scale, patient, date and the landmarks
// (the axis rebuilt from the contour lines).
bool fillCase(const Patient& p, const Film& f, const Series::Clicks& clicks, CZor& zor);

// The seed of a film's click noise.
uint64_t clickSeed(const Settings& s, size_t patient, size_t film);

} // namespace Phantom
