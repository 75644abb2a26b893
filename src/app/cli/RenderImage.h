#pragma once

#include <string>

class CBitmap;

// Image files for `zor-cli render`, through Qt's decoders and encoders.
namespace RenderImage {

// Decodes the image at `path` into `bitmap` as the window does: its blue
// channel as grey levels. Images wider or higher than CBitmap::MaxSide are
// refused before they are decoded. On failure `error` says why.
bool load(const std::string& path, CBitmap& bitmap, std::string& error);

// True when the extension of `path` names a format that can be written.
bool canWrite(const std::string& path);

// Writes the grey levels as shown (pixels through the table), in the format
// the extension of `path` names.
bool writeShown(const CBitmap& bitmap, const std::string& path, std::string& error);

} // namespace RenderImage
