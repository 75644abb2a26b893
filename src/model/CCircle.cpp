#include "model/CCircle.h"

#include "model/Math.h"
#include "platform/Surface.h"

#include <cmath>

void CCircle::draw(Surface& s, uint32_t color) const
{
    if (!Valid)
        return;
    s.setForeColor(color);
    s.drawCircle(M.x, M.y, R);
    if (PVisible) {
        for (const CPoint& p : points)
            p.draw(s);
        M.draw(s);
    }
}

CPoint& CCircle::addPoint(double x, double y)
{
    return points.emplace_back(x, y);
}

void CCircle::removeAll()
{
    while (!points.empty())
        points.pop_back();
}

ToolMode CCircle::findMode(double x, double y) const
{
    if (!Valid || !PVisible)
        return ToolMode::Idle;
    int i = 1;
    for (const CPoint& p : points) {
        if (i > kMaxPickablePoints)
            break;
        if (Math::IsNear(x, y, p.x, p.y))
            return ToolModes::headPoint(i);
        ++i;
    }
    return ToolMode::Idle;
}

bool CCircle::fit()
{
    if (points.size() < 3)
        return false;
    double Sxx = 0, Sxy = 0, Sx = 0, Syy = 0, Sy = 0, Bx = 0, By = 0;
    for (const CPoint& p : points) {
        double x = p.x;
        double y = p.y;
        Sxx += x * x;
        Sxy += x * y;
        Sx += x;
        Syy += y * y;
        Sy += y;
        Bx += x * x * x + x * y * y;
        By += x * x * y + y * y * y;
    }
    double n = static_cast<double>(points.size());
    // Normal equations of x^2 + y^2 = 2ax + 2by - d, solved for a, b, d.
    Math::Matrix A = {
        {2 * Sxx, 2 * Sxy, -Sx, Bx},
        {2 * Sxy, 2 * Syy, -Sy, By},
        {2 * Sx, 2 * Sy, -n, Sxx + Syy},
    };
    if (!Math::SolveEquations(A))
        return false;
    double a = A[0][3];
    double b = A[1][3];
    double d = A[2][3];
    double r2 = a * a + b * b - d;
    // Exactly the mean squared distance from (a, b); only a nearly singular
    // system can round it below 0 or overflow, and then there is no circle.
    if (!(r2 >= 0.0) || !std::isfinite(r2))
        return false;
    M.x = a;
    M.y = b;
    R = std::sqrt(r2);
    return true;
}
