#pragma once

#include "image/RadiographInfo.h"

#include <string>

class DcmItem;

// The fields of a DICOM header this program shows or keeps: the scale and its
// source, the patient's name, ID and film date, the laterality, the window.
namespace DicomHeader {

// Fills the scale, patient, laterality and window fields of `info`. Texts are
// converted to UTF-8 from the file's character set (which changes `ds`).
void describe(DcmItem& ds, RadiographInfo& info);

// A number as the header would write it: up to 6 significant digits.
std::string number(double v);

} // namespace DicomHeader
