#include "model/CPoint.h"

#include "platform/Surface.h"

void CPoint::draw(Surface& s) const
{
    // A fixed fraction of the shown width keeps the cross the same size on
    // screen at every zoom.
    double d = s.ScaleWidth() / 100.0;
    s.drawLine(x - d, y, x + d, y);
    s.drawLine(x, y - d, x, y + d);
}
