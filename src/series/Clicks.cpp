#include "series/Clicks.h"

#include "model/CZor.h"
#include "model/Math.h"

#include <cmath>

namespace Series {

namespace {

Point pointOf(const CPoint& p)
{
    return {p.x, p.y};
}

Segment segmentOf(const CLine& l)
{
    return {pointOf(l.P0), pointOf(l.P1)};
}

void setLine(CLine& l, const Segment& s)
{
    l.init(s.p0.x, s.p0.y, s.p1.x, s.p1.y);
    l.Valid = true;
}

double length(const CLine& l)
{
    return std::hypot(l.P1.x - l.P0.x, l.P1.y - l.P0.y);
}

// Contour lines the axis can be rebuilt from. Parallel lines are caught here,
// before the solver would report them to the user.
bool usableContours(const CZor& zor)
{
    const CLine& a = zor.AxisLine1;
    const CLine& b = zor.AxisLine2;
    double la = length(a);
    double lb = length(b);
    if (!(la > 1.0) || !(lb > 1.0) || !std::isfinite(la) || !std::isfinite(lb))
        return false;
    double cross = (a.P1.x - a.P0.x) * (b.P1.y - b.P0.y) - (a.P1.y - a.P0.y) * (b.P1.x - b.P0.x);
    if (std::fabs(cross) < 1e-6 * la * lb)
        return false;
    std::optional<CLine> axis = Math::CenterLine(a, b, static_cast<double>(zor.HPixel));
    if (!axis)
        return false;
    auto near = [](const CPoint& p, const CPoint& q) {
        return std::hypot(p.x - q.x, p.y - q.y) <= 0.5;
    };
    return near(axis->P0, zor.AxisLine.P0) && near(axis->P1, zor.AxisLine.P1);
}

} // namespace

Clicks clicksOf(const CZor& zor)
{
    Clicks c;
    for (const CPoint& p : zor.head.points)
        c.head.push_back(pointOf(p));
    c.hasContours = usableContours(zor);
    c.contour1 = segmentOf(zor.AxisLine1);
    c.contour2 = segmentOf(zor.AxisLine2);
    c.axis = segmentOf(zor.AxisLine);
    c.shoulder = pointOf(zor.Shoulder);
    c.gtLine = segmentOf(zor.GTLine);
    c.ltLine1 = segmentOf(zor.LTLine1);
    c.ltLine2 = segmentOf(zor.LTLine2);
    c.tipLine = segmentOf(zor.TipLine);
    for (int16_t i = 0; i < 8; ++i)
        c.femur[static_cast<size_t>(i)] = pointOf(zor.points(i));
    if (zor.CMarkerValid)
        c.cement = pointOf(zor.CMarker);
    return c;
}

bool applyClicks(const Clicks& c, CZor& zor)
{
    zor.head.removeAll();
    for (const Point& p : c.head)
        zor.head.addPoint(p.x, p.y);
    zor.head.Valid = zor.head.fit();
    if (!zor.head.Valid)
        return false;
    if (c.hasContours) {
        setLine(zor.AxisLine1, c.contour1);
        setLine(zor.AxisLine2, c.contour2);
        std::optional<CLine> axis =
            Math::CenterLine(zor.AxisLine1, zor.AxisLine2, static_cast<double>(zor.HPixel));
        if (!axis)
            return false;
        zor.AxisLine.copy(*axis);
    } else {
        zor.AxisLine.init(c.axis.p0.x, c.axis.p0.y, c.axis.p1.x, c.axis.p1.y);
    }
    zor.AxisLine.Valid = true;
    zor.Shoulder.change(c.shoulder.x, c.shoulder.y);
    zor.ShoulderValid = true;
    setLine(zor.GTLine, c.gtLine);
    setLine(zor.LTLine1, c.ltLine1);
    setLine(zor.LTLine2, c.ltLine2);
    setLine(zor.TipLine, c.tipLine);
    for (int16_t i = 0; i < 8; ++i)
        zor.points(i).change(c.femur[static_cast<size_t>(i)].x, c.femur[static_cast<size_t>(i)].y);
    zor.PointsValid = true;
    zor.CMarkerValid = c.cement.has_value();
    if (c.cement)
        zor.CMarker.change(c.cement->x, c.cement->y);
    zor.LinesVisible = true;
    return true;
}

std::vector<Point*> placedPoints(Clicks& c)
{
    std::vector<Point*> v;
    for (Point& p : c.head)
        v.push_back(&p);
    if (c.hasContours) {
        for (Segment* s : {&c.contour1, &c.contour2}) {
            v.push_back(&s->p0);
            v.push_back(&s->p1);
        }
    } else {
        v.push_back(&c.axis.p0);
        v.push_back(&c.axis.p1);
    }
    v.push_back(&c.shoulder);
    for (Segment* s : {&c.gtLine, &c.ltLine1, &c.ltLine2, &c.tipLine}) {
        v.push_back(&s->p0);
        v.push_back(&s->p1);
    }
    for (Point& p : c.femur)
        v.push_back(&p);
    if (c.cement)
        v.push_back(&*c.cement);
    return v;
}

} // namespace Series
