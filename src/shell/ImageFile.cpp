#include "shell/ImageFile.h"

#include "image/CBitmap.h"

#include <QImage>
#include <QImageReader>

namespace ImageFile {

namespace {

QString tooLarge(QSize size)
{
    return QString("the image is %1 x %2 pixels; at most %3 x %3 pixels can be opened")
        .arg(size.width())
        .arg(size.height())
        .arg(CBitmap::MaxSide);
}

bool fits(QSize size)
{
    return size.width() <= CBitmap::MaxSide && size.height() <= CBitmap::MaxSide;
}

} // namespace

bool load(const QString& path, CBitmap& into, QString& error)
{
    QImageReader reader(path);
    reader.setAutoTransform(false); // landmarks are in the file's own pixel grid
    // Refuse an oversized image before decoding it.
    const QSize announced = reader.size();
    if (announced.isValid() && !fits(announced)) {
        error = tooLarge(announced);
        return false;
    }
    QImage image = reader.read();
    if (image.isNull()) {
        error = reader.errorString();
        return false;
    }
    if (!fits(image.size())) {
        error = tooLarge(image.size());
        return false;
    }
    CBitmap decoded;
    bool ok;
    if (image.format() == QImage::Format_Grayscale8) {
        ok = decoded.init(image.constBits(), image.width(), image.height(),
                          std::size_t(image.bytesPerLine()));
    } else {
        if (image.format() != QImage::Format_RGB32 && image.format() != QImage::Format_ARGB32)
            image.convertTo(QImage::Format_RGB32);
        ok =
            decoded.initFromRgb32(reinterpret_cast<const uint32_t*>(image.constBits()),
                                  image.width(), image.height(), std::size_t(image.bytesPerLine()));
    }
    if (!ok) {
        error = "the image could not be converted";
        return false;
    }
    into = std::move(decoded);
    return true;
}

} // namespace ImageFile
