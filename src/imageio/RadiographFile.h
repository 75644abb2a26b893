#pragma once

#include "image/RadiographInfo.h"

#include <string>

class CBitmap;

// Reading radiograph files for the window and the command line alike. What a
// file is, is told by its content, whatever its name: DICOM (the "DICM" mark
// at byte 128, or a data set without preamble), else one of Qt's image formats.
//
// Failures are one of the LoadError texts, each naming the file: unreadable,
// damaged (also a BMP or JPEG shorter than its header says), too large (more
// than CBitmap::MaxSide pixels a side, or more than the memory holds), or a
// kind of DICOM file that holds no image this program can show.
namespace RadiographFile {

// What the file says about itself, without decoding its pixels: kind, size,
// scale and patient fields. Refuses what load() would refuse, except faults
// that only decoding the pixels can find.
bool readHeader(const std::string& path, RadiographInfo& info, std::string& error);

// Decodes the film into `into` as 8-bit grey, exactly as a grey BMP of the
// same pixels would be (a colour image keeps its blue channel; a DICOM film
// goes through its modality LUT and first VOI window or LUT, else a min-max
// window, and is shown with bone bright). `into` is unchanged on failure.
bool load(const std::string& path, CBitmap& into, RadiographInfo& info, std::string& error);

} // namespace RadiographFile
