#include "app/cli/RenderImage.h"

#include "image/CBitmap.h"
#include "imageio/RadiographFile.h"

#include <QFileInfo>
#include <QImage>
#include <QImageWriter>

namespace RenderImage {

namespace {

QByteArray suffixOf(const std::string& path)
{
    return QFileInfo(QString::fromStdString(path)).suffix().toLower().toLatin1();
}

} // namespace

bool load(const std::string& path, CBitmap& bitmap, std::string& error)
{
    RadiographInfo info;
    return RadiographFile::load(path, bitmap, info, error);
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
