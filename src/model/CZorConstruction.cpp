// Construction lines of CZor: the proposals around the shoulder point and the
// tip construction lines.
#include "model/CZor.h"
#include "model/Math.h"

#include <cmath>
#include <optional>

namespace {

struct Vec {
    double x;
    double y;
};

// The unit vector from `from` to `to`, or nullopt for coinciding points.
std::optional<Vec> unitVector(const CPoint& from, const CPoint& to)
{
    double dx = to.x - from.x;
    double dy = to.y - from.y;
    double len = std::sqrt(dx * dx + dy * dy);
    if (!(len > 0.0) || !std::isfinite(len))
        return std::nullopt;
    return Vec{dx / len, dy / len};
}

// What CreateLines and CreateLTLines share: u down the axis, its normal n,
// the unit length L and the centres G (major trochanter) and T (tip).
struct Frame {
    Vec u, n;
    double L;
    Vec G, T;
};

std::optional<Frame> proposalFrame(const CLine& axis, const CPoint& shoulder, float scaleWidth)
{
    std::optional<Vec> u = unitVector(axis.P1, axis.P0);
    if (!u)
        return std::nullopt;
    Frame f;
    f.u = *u;
    f.n = Vec{u->y, -u->x};
    // The proposals follow the zoom; L is single precision like the width.
    float L = static_cast<float>(scaleWidth / 20.0);
    f.L = L;
    f.G = Vec{shoulder.x - f.L * f.u.x, shoulder.y - f.L * f.u.y};
    f.T = Vec{shoulder.x + 3 * f.L * f.u.x, shoulder.y + 3 * f.L * f.u.y};
    return f;
}

} // namespace

void CZor::CreateLines(float scaleWidth)
{
    std::optional<Frame> f = proposalFrame(AxisLine, Shoulder, scaleWidth);
    if (!f)
        return;
    const double L = f->L;
    GTLine.init(f->G.x + 2 * L * f->n.x, f->G.y + 2 * L * f->n.y, f->G.x - 2 * L * f->n.x,
                f->G.y - 2 * L * f->n.y);
    TipLine.init(f->T.x + 2 * L * f->n.x, f->T.y + 2 * L * f->n.y, f->T.x - 2 * L * f->n.x,
                 f->T.y - 2 * L * f->n.y);
    LTLine1.P0.copy(GTLine.P0);
    LTLine1.P1.copy(TipLine.P1);
    LTLine1.Valid = false;
    LTLine2.P0.copy(TipLine.P0);
    LTLine2.P1.copy(GTLine.P1);
    LTLine2.Valid = false;
    LinesVisible = true;
}

void CZor::CreateLTLines(float scaleWidth, double t1, double t2)
{
    std::optional<Frame> f = proposalFrame(AxisLine, Shoulder, scaleWidth);
    if (!f)
        return;
    const double L = f->L;
    LTLine1.init(f->G.x + 2 * L * t1 * f->n.x, f->G.y + 2 * L * t1 * f->n.y,
                 f->T.x - 2 * L * t1 * f->n.x, f->T.y - 2 * L * t1 * f->n.y);
    LTLine2.init(f->T.x + 2 * L * t2 * f->n.x, f->T.y + 2 * L * t2 * f->n.y,
                 f->G.x - 2 * L * t2 * f->n.x, f->G.y - 2 * L * t2 * f->n.y);
}

bool CZor::CreateTipLines(float scaleWidth)
{
    if (!LTLine1.Valid || !LTLine2.Valid || !TipLine.Valid)
        return false;
    std::optional<Vec> v = unitVector(AxisLine.P0, AxisLine.P1);
    if (!v)
        return false;
    Vec p{v->y, -v->x};
    float L2f = static_cast<float>(scaleWidth / 10.0);
    const double L2 = L2f;

    std::optional<CPoint> X = Math::IntersectLines(LTLine1, LTLine2);
    if (!X)
        return false;
    CLine perpendicular;
    perpendicular.init(X->x, X->y, X->x + L2 * p.x, X->y + L2 * p.y);
    std::optional<CPoint> A = Math::IntersectLines(perpendicular, AxisLine);
    if (!A)
        return false;
    std::optional<CPoint> B = Math::IntersectLines(TipLine, AxisLine);
    if (!B)
        return false;
    std::optional<Vec> w = unitVector(*A, *B);
    if (!w)
        return false;
    double bx = B->x - A->x;
    double by = B->y - A->y;
    double d = std::sqrt(bx * bx + by * by) / 4;

    CLine* lines[] = {&TipLine1, &TipLine2, &TipLine3};
    for (int k = 1; k <= 3; ++k) {
        double cx = B->x - k * d * w->x;
        double cy = B->y - k * d * w->y;
        lines[k - 1]->init(cx + L2 * p.x, cy + L2 * p.y, cx - L2 * p.x, cy - L2 * p.y);
        lines[k - 1]->Valid = true;
    }
    return true;
}
