#pragma once

#include <QString>

class CBitmap;

// Decoding of the radiograph files (BMP, JPEG, GIF and whatever else Qt's
// image readers know) into an image buffer.
namespace ImageFile {

// Decodes `path` into `into` (a colour image keeps its blue channel).
// On failure `into` is unchanged and `error` says why: the reader's text, or
// the size when the image is wider or higher than CBitmap::MaxSide.
bool load(const QString& path, CBitmap& into, QString& error);

} // namespace ImageFile
