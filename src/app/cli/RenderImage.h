#pragma once

#include <string>

class CBitmap;

// Image files for `zor-cli render`: read by the loader of both programs,
// written through Qt's encoders.
namespace RenderImage {

// Decodes the image at `path` into `bitmap` with the window's loader
// (RadiographFile). On failure `error` says why.
bool load(const std::string& path, CBitmap& bitmap, std::string& error);

// True when the extension of `path` names a format that can be written.
bool canWrite(const std::string& path);

// Writes the grey levels as shown (pixels through the table), in the format
// the extension of `path` names.
bool writeShown(const CBitmap& bitmap, const std::string& path, std::string& error);

} // namespace RenderImage
