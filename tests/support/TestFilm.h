#pragma once

#include <QImage>
#include <QRgb>
#include <QString>

// The grey of the test films at (x, y); neighbours differ, so a shifted or
// mis-scaled picture shows at once.
inline QRgb testGrey(int x, int y)
{
    return QRgb((x * 7 + y * 13) & 255) * 0x010101;
}

// Writes a w x h film of testGrey to `path` (its format from the suffix).
inline QString writeTestImage(const QString& path, int w, int h)
{
    QImage img(w, h, QImage::Format_Grayscale8);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            img.scanLine(y)[x] = uchar(testGrey(x, y));
    if (!img.save(path))
        qFatal("cannot write %s", qPrintable(path));
    return path;
}
