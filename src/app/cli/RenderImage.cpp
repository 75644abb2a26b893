#include "app/cli/RenderImage.h"

#include "image/CBitmap.h"

#include <QFileInfo>
#include <QImage>
#include <QImageReader>
#include <QImageWriter>

namespace RenderImage {

namespace {

QByteArray suffixOf(const std::string& path)
{
    return QFileInfo(QString::fromStdString(path)).suffix().toLower().toLatin1();
}

std::string tooLarge(QSize size)
{
    return "The image is " + std::to_string(size.width()) + " x " + std::to_string(size.height()) +
           " pixels; images wider or higher than " + std::to_string(CBitmap::MaxSide) +
           " pixels cannot be opened.";
}

bool fits(QSize size)
{
    return size.width() <= CBitmap::MaxSide && size.height() <= CBitmap::MaxSide;
}

} // namespace

bool load(const std::string& path, CBitmap& bitmap, std::string& error)
{
    QImageReader reader(QString::fromStdString(path));
    reader.setAutoTransform(false); // landmarks are in the file's own pixel grid
    // The header tells the size; a huge picture is refused before decoding.
    const QSize announced = reader.size();
    if (announced.isValid() && !fits(announced)) {
        error = tooLarge(announced);
        return false;
    }
    QImage picture = reader.read();
    if (picture.isNull()) {
        error = "cannot read the image '" + path + "': " + reader.errorString().toStdString();
        return false;
    }
    if (!fits(picture.size())) {
        error = tooLarge(picture.size());
        return false;
    }
    bool loaded;
    if (picture.format() == QImage::Format_Grayscale8) {
        // Grey, blue, green and red are the same level.
        loaded = bitmap.init(picture.constBits(), picture.width(), picture.height(),
                             std::size_t(picture.bytesPerLine()));
    } else {
        // Both 32-bit formats keep the blue byte of every pixel as decoded.
        if (picture.format() != QImage::Format_RGB32 && picture.format() != QImage::Format_ARGB32)
            picture.convertTo(QImage::Format_RGB32);
        loaded = bitmap.initFromRgb32(reinterpret_cast<const uint32_t*>(picture.constBits()),
                                      picture.width(), picture.height(),
                                      std::size_t(picture.bytesPerLine()));
    }
    if (!loaded) {
        error = "cannot read the image '" + path + "': it has no pixels";
        return false;
    }
    return true;
}

bool canWrite(const std::string& path)
{
    const QByteArray suffix = suffixOf(path);
    return !suffix.isEmpty() && QImageWriter::supportedImageFormats().contains(suffix);
}

bool writeShown(const CBitmap& bitmap, const std::string& path, std::string& error)
{
    QImage shown(bitmap.W(), bitmap.H(), QImage::Format_Grayscale8);
    if (shown.isNull()) {
        error = "not enough memory for the image to write";
        return false;
    }
    bitmap.renderShown(shown.bits(), std::size_t(shown.bytesPerLine()));
    QImageWriter writer(QString::fromStdString(path), suffixOf(path));
    if (!writer.write(shown)) {
        error = "cannot write '" + path + "': " + writer.errorString().toStdString();
        return false;
    }
    return true;
}

} // namespace RenderImage
