#pragma once

#include "ReferenceFilter.h"
#include "image/CBitmap.h"

#include <cstring>

inline CBitmap loadBitmap(const PlainImage& img)
{
    CBitmap bm;
    bm.init(img.px.data(), img.w, img.h, std::size_t(img.w));
    return bm;
}

inline PlainImage pixelsOf(const CBitmap& bm)
{
    PlainImage img{bm.W(), bm.H(), std::vector<uint8_t>(std::size_t(bm.W()) * bm.H())};
    for (int y = 0; y < bm.H(); ++y)
        std::memcpy(&img.at(0, y), bm.scanLine(y), std::size_t(bm.W()));
    return img;
}

// Every byte past W in every row is 0.
inline bool paddingIsZero(const CBitmap& bm)
{
    for (int y = 0; y < bm.H(); ++y)
        for (std::size_t x = std::size_t(bm.W()); x < bm.bytesPerLine(); ++x)
            if (bm.scanLine(y)[x] != 0)
                return false;
    return true;
}
