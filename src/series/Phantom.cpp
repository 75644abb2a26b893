#include "series/Phantom.h"

#include "model/CZor.h"
#include "series/Series.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <numbers>

namespace Phantom {

using Series::Point;
using Series::Segment;

namespace {

constexpr double kDegree = std::numbers::pi / 180.0;
constexpr double kDaysPerMonth = 30.4375;

Point add(Point a, Point b)
{
    return {a.x + b.x, a.y + b.y};
}

Point sub(Point a, Point b)
{
    return {a.x - b.x, a.y - b.y};
}

Point scale(Point a, double f)
{
    return {a.x * f, a.y * f};
}

double dot(Point a, Point b)
{
    return a.x * b.x + a.y * b.y;
}

Point rotate(Point a, double degrees)
{
    double c = std::cos(degrees * kDegree);
    double s = std::sin(degrees * kDegree);
    return {c * a.x - s * a.y, s * a.x + c * a.y};
}

double uniform(std::mt19937_64& rng, double lo, double hi)
{
    return std::uniform_real_distribution<double>(lo, hi)(rng);
}

// Follow-up times in months: the first post-operative film, 3, 6 and 12
// months, then yearly.
double scheduleMonths(size_t film)
{
    static const double early[] = {0.0, 3.0, 6.0, 12.0};
    return film < 4 ? early[film] : 12.0 * static_cast<double>(film - 2);
}

double sinkingAt(Curve c, double amplitude, double rate, double months)
{
    switch (c) {
    case Curve::Stable:
        return 0.0;
    case Curve::EarlyThenStable:
        return amplitude * std::min(months, 12.0) / 12.0;
    case Curve::EarlyAndContinuing:
        return amplitude * std::min(months, 12.0) / 12.0 +
               rate * std::max(months - 12.0, 0.0) / 12.0;
    case Curve::LateOnset:
        return rate * std::max(months - 24.0, 0.0) / 12.0;
    }
    return 0.0;
}

const char* const kFamnames[] = {"Berger", "Keller", "Huber",  "Wagner", "Fischer", "Brunner",
                                 "Schmid", "Moser",  "Gruber", "Vogel",  "Lehmann", "Frank"};
const char* const kVornames[] = {"Anna", "Karl", "Maria", "Josef", "Erika", "Franz", "Rosa"};

Segment segment(Point a, Point b)
{
    return {a, b};
}

} // namespace

const char* curveName(Curve c)
{
    switch (c) {
    case Curve::Stable:
        return "stable";
    case Curve::EarlyThenStable:
        return "early then stable";
    case Curve::EarlyAndContinuing:
        return "early and continuing";
    case Curve::LateOnset:
        return "late onset";
    }
    return "unclassified";
}

double Anatomy::femurHalfWidth(double y) const
{
    double t = std::clamp((y + 100.0) / 100.0, 0.0, 1.0);
    return femurHalfShaft + (femurHalfTop - femurHalfShaft) * t * t;
}

double Anatomy::stemHalfWidth(double ys) const
{
    return stemHalfTop + (stemHalfTop - stemHalfTip) * ys / stemLength;
}

Point stemToFemur(const Anatomy& a, const Pose& p, Point stem)
{
    Point placed = rotate(stem, a.stemAngle);
    Point tip = rotate({0.0, -a.stemLength}, a.stemAngle);
    // Varus turns the proximal stem medially (+x): clockwise here.
    Point turned = add(tip, rotate(sub(placed, tip), -p.varus));
    return {turned.x, turned.y - p.sinking};
}

double pixelsPerMm(const Projection& pr)
{
    return pr.magnification / pr.pixelMm;
}

Point toImage(const Projection& pr, const Anatomy& a, Point femur)
{
    // Tilt about a mediolateral axis half way down the stem foreshortens
    // heights; a left hip is the mirror image.
    double pivot = -a.stemLength / 2.0;
    Point q{pr.left ? -femur.x : femur.x,
            pivot + (femur.y - pivot) * std::cos(pr.outOfPlane * kDegree)};
    q = rotate(q, pr.rotation);
    double f = pixelsPerMm(pr);
    return {0.5 * kWidth + q.x * f, 580.0 - q.y * f};
}

std::array<double, 4> trueSubsidenceValues(const Anatomy& a, const Pose& p)
{
    Point H = stemToFemur(a, p, {a.neckOffset, a.neckHeight});
    Point S = stemToFemur(a, p, {-a.stemHalfTop, 0.0});
    Point T = stemToFemur(a, p, {0.0, -a.stemLength});
    Point top = stemToFemur(a, p, {0.0, 0.0});
    Point d = sub(top, T);
    Point u = scale(d, 1.0 / std::hypot(d.x, d.y));
    Point L{a.femurHalfWidth(a.ltLevel) + a.ltBump, a.ltLevel};
    // The greater-trochanter line is level; it crosses the stem axis at G.
    Point G = add(T, scale(u, (a.gtLevel - T.y) / u.y));
    return {dot(sub(H, L), u), dot(sub(H, G), u), dot(sub(S, L), u), dot(sub(S, G), u)};
}

double trueCementValue(const Anatomy& a, const Pose& p)
{
    Point T = stemToFemur(a, p, {0.0, -a.stemLength});
    Point top = stemToFemur(a, p, {0.0, 0.0});
    Point d = sub(top, T);
    Point u = scale(d, 1.0 / std::hypot(d.x, d.y));
    Point C = rotate({0.0, -a.stemLength - a.cementDepth}, a.stemAngle);
    return dot(sub(T, C), u);
}

Series::Clicks trueClicks(const Patient& pt, const Film& f)
{
    const Anatomy& a = pt.anatomy;
    const Projection& pr = f.projection;
    auto femur = [&](Point q) { return toImage(pr, a, q); };
    auto stem = [&](Point q) { return toImage(pr, a, stemToFemur(a, f.pose, q)); };

    Series::Clicks c;
    // The head is a ball: its outline keeps its radius whatever the tilt.
    Point centre = stem({a.neckOffset, a.neckHeight});
    double r = a.headRadius * pixelsPerMm(pr);
    // Eleven points round the rim, leaving out where the neck joins the head
    // (below and lateral of it, about 233 degrees on a right hip).
    for (int k = 0; k < 11; ++k) {
        double deg = 263.0 + 30.0 * k;
        if (pr.left)
            deg = 180.0 - deg;
        double t = (deg + pr.rotation) * kDegree;
        c.head.push_back({centre.x + r * std::cos(t), centre.y - r * std::sin(t)});
    }
    const double y0 = -0.2 * a.stemLength;
    const double y1 = -0.8 * a.stemLength;
    c.hasContours = true;
    c.contour1 = segment(stem({-a.stemHalfWidth(y0), y0}), stem({-a.stemHalfWidth(y1), y1}));
    c.contour2 = segment(stem({a.stemHalfWidth(y0), y0}), stem({a.stemHalfWidth(y1), y1}));
    c.shoulder = stem({-a.stemHalfTop, 0.0});
    c.gtLine = segment(femur({8.0, a.gtLevel}), femur({-32.0, a.gtLevel}));
    Point lt{a.femurHalfWidth(a.ltLevel) + a.ltBump, a.ltLevel};
    const double h = 18.0 / std::sqrt(2.0);
    c.ltLine1 = segment(femur({lt.x - h, lt.y + h}), femur({lt.x + h, lt.y - h}));
    c.ltLine2 = segment(femur({lt.x + h, lt.y + h}), femur({lt.x - h, lt.y - h}));
    c.tipLine = segment(stem({14.0, -a.stemLength}), stem({-14.0, -a.stemLength}));
    for (size_t k = 0; k < 4; ++k) {
        double y = a.pointLevels[k];
        c.femur[2 * k] = femur({a.femurHalfWidth(y), y});
        c.femur[2 * k + 1] = femur({-a.femurHalfWidth(y), y});
    }
    c.cement = femur(rotate({0.0, -a.stemLength - a.cementDepth}, a.stemAngle));
    return c;
}

Series::Clicks noisyClicks(const Patient& p, const Film& f, double sd, std::mt19937_64& rng)
{
    Series::Clicks c = trueClicks(p, f);
    if (sd > 0.0) {
        std::normal_distribution<double> noise(0.0, sd);
        for (Point* q : Series::placedPoints(c)) {
            q->x += noise(rng);
            q->y += noise(rng);
        }
    }
    return c;
}

bool fillCase(const Patient& p, const Film& f, const Series::Clicks& clicks, CZor& zor)
{
    double width = f.defaultCalibration ? 430.0 : kWidth * f.projection.pixelMm;
    zor.initScale(kWidth, kHeight, width);
    zor.Patient.Famname = p.famname;
    zor.Patient.Vorname = p.vorname;
    zor.Patient.Code = p.code;
    zor.Patient.HeadTR = p.anatomy.headRadius;
    zor.Patient.DatFile = "phantom-study";
    zor.Datum = Series::isoDate(f.days);
    zor.Datum.erase(std::remove(zor.Datum.begin(), zor.Datum.end(), '-'), zor.Datum.end());
    zor.Visible = true;
    return Series::applyClicks(clicks, zor);
}

uint64_t clickSeed(const Settings& s, size_t patient, size_t film)
{
    return s.seed * 1000003ull + patient * 101ull + film + 0x5eedull;
}

std::vector<Patient> makeStudy(const Settings& s)
{
    std::mt19937_64 rng(s.seed);
    std::vector<Patient> out;
    const int firstDay = *Series::daysOf("20010108");
    for (int i = 0; i < s.patients; ++i) {
        Patient p;
        char code[16];
        std::snprintf(code, sizeof code, "PH-%03d", i + 1);
        p.code = code;
        p.famname = kFamnames[static_cast<size_t>(i) % std::size(kFamnames)];
        p.vorname = kVornames[static_cast<size_t>(i) % std::size(kVornames)];
        p.curve = static_cast<Curve>(i % 4);
        Anatomy& a = p.anatomy;
        // Long stems: an 8 degree tilt then shortens comp-y (1) by more than
        // the 2 mm tolerance.
        a.stemLength = uniform(rng, 215.0, 240.0);
        a.stemHalfTop = uniform(rng, 8.0, 10.0);
        a.stemAngle = uniform(rng, -2.0, 2.0);
        a.neckOffset = uniform(rng, 36.0, 44.0);
        a.neckHeight = uniform(rng, 26.0, 34.0);
        const double radii[] = {11.0, 14.0, 16.0};
        a.headRadius = radii[std::uniform_int_distribution<int>(0, 2)(rng)];
        a.gtLevel = uniform(rng, 8.0, 14.0);
        a.ltLevel = -uniform(rng, 45.0, 55.0);
        a.ltBump = uniform(rng, 6.0, 9.0);
        a.femurHalfShaft = uniform(rng, 14.0, 16.5);
        a.femurHalfTop = uniform(rng, 25.0, 28.0);
        for (size_t k = 0; k < 4; ++k)
            a.pointLevels[k] = -a.stemLength * (0.35 + 0.2 * static_cast<double>(k));
        bool left = std::bernoulli_distribution(0.5)(rng);
        double amplitude = uniform(rng, 1.0, 3.0);
        double rate = p.curve == Curve::LateOnset ? uniform(rng, 1.2, 2.0) : uniform(rng, 0.6, 1.0);
        if (p.curve == Curve::EarlyAndContinuing)
            amplitude = uniform(rng, 1.0, 2.0);
        // Some moving stems also turn into varus as they sink.
        double varusPerMm = p.curve != Curve::Stable && std::bernoulli_distribution(0.5)(rng)
                                ? uniform(rng, 0.3, 0.6)
                                : 0.0;
        // At most one film per series is taken out of position, never the
        // first or the last.
        int tilted = -1;
        if (s.films >= 4 && std::bernoulli_distribution(0.3)(rng))
            tilted = std::uniform_int_distribution<int>(1, s.films - 2)(rng);
        int start = firstDay + 23 * i + std::uniform_int_distribution<int>(0, 20)(rng);

        std::array<double, 4> ref = trueSubsidenceValues(a, {});
        double refMean = (ref[0] + ref[1] + ref[2] + ref[3]) / 4.0;
        double refCement = trueCementValue(a, {});
        for (int k = 0; k < s.films; ++k) {
            Film f;
            double nominal = scheduleMonths(static_cast<size_t>(k));
            int jitter = k == 0 ? 0 : std::uniform_int_distribution<int>(-6, 6)(rng);
            f.days = start + static_cast<int>(std::lround(nominal * kDaysPerMonth)) + jitter;
            f.months = (f.days - start) / kDaysPerMonth;
            f.pose.sinking = sinkingAt(p.curve, amplitude, rate, nominal);
            f.pose.varus = varusPerMm * f.pose.sinking;
            f.projection.left = left;
            f.projection.magnification = uniform(rng, 1.15, 1.22);
            f.projection.rotation = uniform(rng, -3.0, 3.0);
            f.projection.pixelMm = s.pixelMm;
            if (k == tilted) {
                f.projection.outOfPlane =
                    uniform(rng, 8.0, 15.0) * (std::bernoulli_distribution(0.5)(rng) ? 1 : -1);
                f.comparable = false;
            }
            f.defaultCalibration = k % 3 == 1;
            std::array<double, 4> v = trueSubsidenceValues(a, f.pose);
            f.subsidence = refMean - (v[0] + v[1] + v[2] + v[3]) / 4.0;
            f.cement = refCement - trueCementValue(a, f.pose);
            f.tilt = f.pose.varus;
            std::string date = Series::isoDate(f.days);
            f.name = p.code + "/" + p.code + "-" + (left ? "L" : "R") + "-" + date;
            p.films.push_back(f);
        }
        out.push_back(std::move(p));
    }
    return out;
}

} // namespace Phantom
