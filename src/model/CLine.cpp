#include "model/CLine.h"

#include "platform/Surface.h"

#include <cmath>

void CLine::init(double X0, double Y0, double x1, double y1)
{
    Valid = false;
    P0.change(X0, Y0);
    P1.change(x1, y1);
}

void CLine::copy(const CLine& line)
{
    P0.copy(line.P0);
    P1.copy(line.P1);
}

void CLine::draw(Surface& s) const
{
    s.drawLine(P0.x, P0.y, P1.x, P1.y);
}

void CLine::draw2(Surface& s, uint32_t color1, uint32_t color2) const
{
    s.setForeColor(Valid ? color2 : color1);
    draw(s);
}

void CLine::drawXor(Surface& s) const
{
    s.setDrawMode(DrawMode::XorPen);
    draw(s);
}

void CLine::changeP0(Surface& s, double x, double y)
{
    drawXor(s);
    P0.change(x, y);
    draw(s);
}

void CLine::changeP1(Surface& s, double x, double y)
{
    drawXor(s);
    P1.change(x, y);
    draw(s);
}

void CLine::translate(Surface& s, double x, double y, double f1)
{
    drawXor(s);
    double qx = f1 * P0.x + (1 - f1) * P1.x;
    double qy = f1 * P0.y + (1 - f1) * P1.y;
    double dx = x - qx;
    double dy = y - qy;
    P0.change(P0.x + dx, P0.y + dy);
    P1.change(P1.x + dx, P1.y + dy);
    draw(s);
}

double CLine::length() const
{
    double dx = P1.x - P0.x;
    double dy = P1.y - P0.y;
    return std::sqrt(dx * dx + dy * dy);
}
