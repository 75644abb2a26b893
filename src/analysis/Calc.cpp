#include "analysis/Calc.h"

#include "analysis/ResultReport.h"
#include "model/CZor.h"
#include "model/Math.h"

#include <array>
#include <cmath>
#include <utility>

namespace Calc {

namespace {

constexpr double kDegreesPerRadian = 57.29577951308238;

// "name k"; appended rather than added, which trips a false -Wrestrict of
// GCC 12 at -O3.
std::string nth(const char* name, size_t index)
{
    std::string s = name;
    s.append(" ").append(std::to_string(index + 1));
    return s;
}

bool finite(const CPoint& p)
{
    return std::isfinite(p.x) && std::isfinite(p.y);
}

bool finite(const CLine& l)
{
    return finite(l.P0) && finite(l.P1);
}

// A damaged case file can carry values no analysis can use; name the
// landmark so the user knows what to place again.
std::optional<Refusal> inputsFinite(const CZor& zor)
{
    struct Check {
        bool ok;
        const char* what;
        const char* how;
    };
    bool pointsOk = true;
    for (int16_t ix = 0; ix < 8; ++ix)
        pointsOk = pointsOk && finite(zor.points(ix));
    const Check checks[] = {
        {std::isfinite(zor.ScaleFactor) && zor.ScaleFactor > 0.0, "Calibration invalid",
         "use Measurement Tool 'Calibrate'"},
        {std::isfinite(zor.Patient.HeadTR), "Head Diameter invalid", "correct the Patient's Data"},
        {finite(zor.head.M) && std::isfinite(zor.head.R), "head data invalid",
         "use Measurement Tool 'Head'"},
        {finite(zor.AxisLine), "Axis Line invalid", "use Measurement Tool 'Stem Axis'"},
        {finite(zor.TipLine), "Tip Line invalid", "move the Tip Line"},
        {finite(zor.GTLine), "Major Trochanter Line invalid", "move the Major Trochanter Line"},
        {finite(zor.LTLine1) && finite(zor.LTLine2), "Minor Trochanter Lines invalid",
         "move the Minor Trochanter Lines"},
        {finite(zor.Shoulder), "Shoulder Point invalid", "use Measurement Tool 'Shoulder Point'"},
        {pointsOk, "Femur Points invalid", "use Measurement Tool '8 Points'"},
        {!zor.CMarkerValid || finite(zor.CMarker), "Cement Marker invalid",
         "use Measurement Tool 'Cement Marker'"},
    };
    for (const Check& c : checks) {
        if (!c.ok)
            return Refusal{c.what, c.how};
    }
    return std::nullopt;
}

// The first reported value that is not a finite number, or "".
std::string firstNonFinite(const AnalysisResult& r)
{
    auto bad = [](double v) { return !std::isfinite(v); };
    if (bad(r.factorHead))
        return "factor-head";
    for (size_t i = 0; i < r.medial.size(); ++i)
        if (bad(r.medial[i]))
            return nth("medial", i);
    for (size_t i = 0; i < r.lateral.size(); ++i)
        if (bad(r.lateral[i]))
            return nth("lateral", i);
    if (bad(r.valgusVarus))
        return "valgus-varus";
    for (size_t i = 0; i < r.subsidence.size(); ++i)
        if (bad(r.subsidence[i]))
            return nth("subsidence", i);
    if (r.cementValid && bad(r.cementSubsidence))
        return "subsidence stem/cement interface";
    for (size_t i = 0; i < r.compY.size(); ++i)
        if (bad(r.compY[i]))
            return nth("comp-y", i);
    if (bad(r.compX))
        return "comp-x";
    return "";
}

double atr(const CPoint& u, const CPoint& v)
{
    return Math::ArcTanRatio(u.x - v.x, u.y - v.y);
}

} // namespace

Outcome Analyse(const CZor& zor)
{
    // A head flagged valid without a fitted circle has no centre to measure from.
    if (!zor.head.Valid || zor.head.R <= 0.0)
        return Refusal{"head data missing", "use Measurement Tool 'Head'"};
    if (zor.Patient.HeadTR <= 0.0)
        return PatientDataNeeded{32};
    if (!zor.AxisLine.Valid)
        return Refusal{"Axis Line missing", "use Measurement Tool 'Stem Axis'"};
    if (!zor.PointsValid)
        return Refusal{"Femur Points missing", "use Measurement Tool '8 Points'"};
    if (std::optional<Refusal> bad = inputsFinite(zor))
        return *bad;

    // 1. The working points; parallel lines have no intersection to work with.
    std::optional<CPoint> tip = Math::IntersectLines(zor.TipLine, zor.AxisLine);
    if (!tip)
        return Refusal{"Tip Line does not cross the Axis Line", "move the Tip Line"};
    std::optional<CPoint> lt = Math::IntersectLines(zor.LTLine1, zor.LTLine2);
    if (!lt)
        return Refusal{"Minor Trochanter Lines do not cross",
                       "move one of the Minor Trochanter Lines"};
    std::optional<CPoint> gt = Math::IntersectLines(zor.GTLine, zor.AxisLine);
    if (!gt)
        return Refusal{"Major Trochanter Line does not cross the Axis Line",
                       "move the Major Trochanter Line"};
    CPoint T(tip->x, tip->y);
    CPoint L(lt->x, lt->y);
    CPoint G(gt->x, gt->y);
    CPoint S = zor.Shoulder;
    CPoint C = zor.CMarker;
    CPoint H = zor.head.M;

    // 2.-6. Head radius, side and the stem frame.
    double rW = zor.WorldX(zor.head.R);
    bool left = H.x < zor.AxisLine.P1.x;
    double Dx = zor.WorldX(zor.AxisLine.P1.x) - zor.WorldX(zor.AxisLine.P0.x);
    double Dy = zor.WorldY(zor.AxisLine.P1.y) - zor.WorldY(zor.AxisLine.P0.y);
    double a = -Math::ArcTanRatio(Dx, Dy);
    StemFrame frame;
    frame.SinA = std::sin(a);
    frame.CosA = std::cos(a);
    frame.Center.x = zor.WorldX(H.x);
    frame.Center.y = zor.WorldY(H.y);

    // 7.-8. Everything into the stem frame.
    for (CPoint* p : {&H, &S, &G, &L, &T, &C})
        zor.TransformP(*p, frame);
    std::array<CPoint, 8> P;
    for (int16_t ix = 0; ix < 8; ++ix) {
        P[static_cast<size_t>(ix)] = zor.points(ix);
        zor.TransformP(P[static_cast<size_t>(ix)], frame);
    }

    // 9. Most proximal first. The exchange sort is not stable: points of
    // equal height need not keep the order they were entered in.
    for (size_t i = 0; i < 7; ++i)
        for (size_t j = i + 1; j < 8; ++j)
            if (P[i].y < P[j].y)
                std::swap(P[i], P[j]);
    // 10. Medial point first in every pair.
    for (size_t k = 0; k < 8; k += 2) {
        CPoint& A = P[k];
        CPoint& B = P[k + 1];
        if (left ? B.x < A.x : A.x < B.x)
            std::swap(A, B);
    }

    AnalysisResult r;
    r.side.assign(1, left ? 'L' : 'R');
    // 11. x-distances from the tip.
    r.medial = {std::fabs(T.x - L.x), std::fabs(T.x - P[0].x), std::fabs(T.x - P[2].x),
                std::fabs(T.x - P[4].x), std::fabs(T.x - P[6].x)};
    r.lateral = {std::fabs(T.x - G.x), std::fabs(T.x - P[1].x), std::fabs(T.x - P[3].x),
                 std::fabs(T.x - P[5].x), std::fabs(T.x - P[7].x)};
    // 12.-13. Pair midpoints and the mean angle of the femur's midline.
    std::array<CPoint, 4> M;
    for (size_t k = 0; k < 4; ++k) {
        M[k].x = (P[2 * k + 1].x + P[2 * k].x) / 2.0;
        M[k].y = (P[2 * k + 1].y + P[2 * k].y) / 2.0;
    }
    double a1 = atr(M[0], M[1]);
    double a2 = atr(M[0], M[2]);
    double a3 = atr(M[0], M[3]);
    double a4 = atr(M[1], M[2]);
    double a5 = atr(M[1], M[3]);
    double a6 = atr(M[2], M[3]);
    r.valgusVarus = (a2 + a1 + a3 + a4 + a5 + a6) * kDegreesPerRadian / 6.0;
    // 14.-17.
    r.subsidence = {H.y - L.y, H.y - G.y, S.y - L.y, S.y - G.y};
    r.cementSubsidence = T.y - C.y;
    r.cementValid = zor.CMarkerValid;
    r.compY = {std::fabs(T.y - S.y), std::fabs(S.y)};
    r.compX = std::fabs(T.x);
    r.factorHead = rW / zor.Patient.HeadTR;
    r.factorStem = 1.0;

    std::string bad = firstNonFinite(r);
    if (!bad.empty())
        return Refusal{"the analysis gives no finite value for " + bad,
                       "check the calibration, the head diameter and the landmarks"};
    return Analysis{r, frame};
}

void Show(const Outcome& outcome, PatientDialogOpener& main, UserMessages& messages)
{
    if (const auto* refusal = std::get_if<Refusal>(&outcome))
        messages.showMessage("Zor Error", refusal->what + "\n" + refusal->how,
                             MessageIcon::Critical);
    else if (const auto* needed = std::get_if<PatientDataNeeded>(&outcome))
        main.openPatientDialog(needed->redFlag);
}

bool RunAnalysis(CZor& zor, PatientDialogOpener& main, const ReportTarget& report,
                 UserMessages& messages, const Clock& clock)
{
    Outcome outcome = Analyse(zor);
    const auto* done = std::get_if<Analysis>(&outcome);
    if (!done) {
        Show(outcome, main, messages);
        return false;
    }
    zor.SinA = done->frame.SinA;
    zor.CosA = done->frame.CosA;
    zor.Center = done->frame.Center;
    return ResultReport::append(report, zor, done->result, messages, clock);
}

} // namespace Calc
