#include "model/CPoint.h"

#include "platform/Surface.h"

void CPoint::draw() const
{
    if (!mPicBox)
        return;
    // A fixed fraction of the shown width keeps the cross the same size on
    // screen at every zoom.
    double d = mPicBox->ScaleWidth() / 100.0;
    mPicBox->drawLine(x - d, y, x + d, y);
    mPicBox->drawLine(x, y - d, x, y + d);
}
