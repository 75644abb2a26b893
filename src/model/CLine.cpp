#include "model/CLine.h"

#include "platform/Surface.h"

#include <cmath>

void CLine::PicBox(Surface* p)
{
    surface_ = p;
    P0.mPicBox = p;
    P1.mPicBox = p;
}

void CLine::init(double X0, double Y0, double x1, double y1)
{
    Valid = false;
    P0.change(X0, Y0);
    P1.change(x1, y1);
}

void CLine::copy(const CLine& line)
{
    P0.x = line.P0.x;
    P0.y = line.P0.y;
    P1.x = line.P1.x;
    P1.y = line.P1.y;
}

void CLine::draw() const
{
    if (surface_)
        surface_->drawLine(P0.x, P0.y, P1.x, P1.y);
}

void CLine::draw2(uint32_t color1, uint32_t color2) const
{
    if (!surface_)
        return;
    surface_->setForeColor(Valid ? color2 : color1);
    draw();
}

void CLine::drawXor() const
{
    if (!surface_)
        return;
    surface_->setDrawMode(DrawMode::XorPen);
    draw();
}

void CLine::changeP0(double x, double y)
{
    drawXor();
    P0.change(x, y);
    draw();
}

void CLine::changeP1(double x, double y)
{
    drawXor();
    P1.change(x, y);
    draw();
}

void CLine::translate(double x, double y, double f1)
{
    drawXor();
    double qx = f1 * P0.x + (1 - f1) * P1.x;
    double qy = f1 * P0.y + (1 - f1) * P1.y;
    double dx = x - qx;
    double dy = y - qy;
    P0.change(P0.x + dx, P0.y + dy);
    P1.change(P1.x + dx, P1.y + dy);
    draw();
}

double CLine::length() const
{
    double dx = P1.x - P0.x;
    double dy = P1.y - P0.y;
    return std::sqrt(dx * dx + dy * dy);
}
