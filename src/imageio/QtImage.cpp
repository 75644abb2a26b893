#include "image/CBitmap.h"
#include "imageio/Decoders.h"
#include "imageio/ImageIntegrity.h"
#include "imageio/LoadError.h"
#include "imageio/ScaleSource.h"

#include <QBuffer>
#include <QImage>
#include <QImageReader>

#include <array>
#include <mutex>
#include <new>
#include <optional>
#include <vector>

namespace Decoders {

namespace {

bool fits(QSize s)
{
    return s.width() <= CBitmap::MaxSide && s.height() <= CBitmap::MaxSide;
}

// Qt refuses to decode more than 128 MB by default (counted as 4 bytes a
// pixel), far below the films the model can hold: allow the largest one.
void raiseAllocationLimit()
{
    static std::once_flag once;
    std::call_once(once, [] {
        const qint64 largest = qint64(CBitmap::MaxSide) * CBitmap::MaxSide * 4;
        QImageReader::setAllocationLimit(int(largest / (1024 * 1024) + 1));
    });
}

bool toBitmap(QImage& image, CBitmap& into)
{
    CBitmap decoded;
    bool ok = false;
    const int w = image.width();
    const int h = image.height();
    if (image.format() == QImage::Format_Grayscale8) {
        ok = decoded.init(image.constBits(), w, h, size_t(image.bytesPerLine()));
    } else if (image.format() == QImage::Format_Indexed8) {
        // The blue channel of each table entry, as for the other colour images,
        // without widening the picture to 32 bits first.
        std::array<uint8_t, 256> blue{};
        const QList<QRgb> table = image.colorTable();
        for (qsizetype i = 0; i < table.size() && i < 256; ++i)
            blue[size_t(i)] = uint8_t(qBlue(table[i]));
        std::vector<uint8_t> grey(size_t(w) * size_t(h));
        for (int y = 0; y < h; ++y) {
            const uchar* row = image.constScanLine(y);
            uint8_t* out = grey.data() + size_t(y) * size_t(w);
            for (int x = 0; x < w; ++x)
                out[x] = blue[row[x]];
        }
        ok = decoded.init(grey.data(), w, h, size_t(w));
    } else {
        if (image.format() != QImage::Format_RGB32 && image.format() != QImage::Format_ARGB32)
            image.convertTo(QImage::Format_RGB32);
        if (image.isNull())
            throw std::bad_alloc();
        ok = decoded.initFromRgb32(reinterpret_cast<const uint32_t*>(image.constBits()), w, h,
                                   size_t(image.bytesPerLine()));
    }
    if (ok)
        into = std::move(decoded);
    return ok;
}

} // namespace

bool qtImage(const std::string& path, std::string_view bytes, CBitmap* into, RadiographInfo& info,
             std::string& error)
{
    raiseAllocationLimit();
    QByteArray data = QByteArray::fromRawData(bytes.data(), qsizetype(bytes.size()));
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    reader.setAutoTransform(false); // landmarks are in the file's own pixel grid
    const QByteArray format = reader.format();
    if (format.isEmpty()) {
        error = LoadError::unreadable(
            path, "it is neither a DICOM file nor an image in a format this program knows");
        return false;
    }
    info.kind = format.toUpper().toStdString();
    if (info.kind == "JPG")
        info.kind = "JPEG";

    const QSize announced = reader.size();
    if (announced.isValid() && !fits(announced)) {
        error = LoadError::tooLarge(path, announced.width(), announced.height());
        return false;
    }
    std::optional<std::string> damage;
    if (format == "bmp")
        damage = ImageIntegrity::bmpDamage(bytes);
    else if (format == "jpeg" || format == "jpg")
        damage = ImageIntegrity::jpegDamage(bytes);
    if (damage) {
        error = LoadError::damaged(path, *damage);
        return false;
    }
    // Decoding takes up to 4 bytes a pixel, the buffer 1 more.
    if (announced.isValid() &&
        !enoughMemory(uint64_t(announced.width()) * uint64_t(announced.height()) * 5)) {
        error = LoadError::tooLargeForMemory(path, announced.width(), announced.height());
        return false;
    }
    info.width = announced.width();
    info.height = announced.height();
    info.scaleSource = ScaleSource::NotCalibrated;
    if (!into && announced.isValid())
        return true;

    QImage image;
    try {
        if (!reader.read(&image)) {
            error = LoadError::damaged(path, reader.errorString().toStdString());
            return false;
        }
        if (!fits(image.size())) {
            error = LoadError::tooLarge(path, image.width(), image.height());
            return false;
        }
        info.width = image.width();
        info.height = image.height();
        if (into && !toBitmap(image, *into)) {
            error = LoadError::damaged(path, "it holds no pixels");
            return false;
        }
    } catch (const std::bad_alloc&) {
        error = LoadError::tooLargeForMemory(path, announced.width(), announced.height());
        return false;
    }
    return true;
}

} // namespace Decoders
