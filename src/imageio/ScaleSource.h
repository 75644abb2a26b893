#pragma once

#include <optional>
#include <string>

// Where the scale of a film comes from, in the words the user reads in the
// status line and the landmark file keeps.
namespace ScaleSource {

inline constexpr const char* AtPatient = "calibrated at the patient (DICOM)";
inline constexpr const char* Magnification =
    "estimated at the patient (DICOM magnification factor)";
inline constexpr const char* PixelSpacing = "DICOM pixel spacing (may be at the detector)";
inline constexpr const char* AtDetector = "at the detector, not corrected for magnification";
inline constexpr const char* NotCalibrated = "not calibrated";
inline constexpr const char* NotSquare = "not calibrated: pixels not square";

// A pair of spacings in mm as the header stores it: between rows, between columns.
struct Spacing {
    double row = 0.0;
    double column = 0.0;
};

// What the header offers for the scale; absent values are std::nullopt.
struct HeaderScale {
    std::optional<Spacing> pixelSpacing;       // (0028,0030)
    bool calibrationType = false;              // (0028,0A02) present with a value
    std::optional<Spacing> imagerPixelSpacing; // (0018,1164)
    std::optional<double> magnification;       // (0018,1114)
};

struct Decision {
    double mmPerPixel = 0.0; // width of a pixel; 0 when not calibrated
    std::string source;
    std::string note; // for the user when a scale was present but not used
};

// The first usable row of the table: calibrated Pixel Spacing, Imager Pixel
// Spacing over the magnification factor, Pixel Spacing alone, Imager Pixel
// Spacing alone, else none. Spacings that are not finite numbers above 0 count
// as absent; rows and columns that differ by more than 0.5 % are not used.
Decision decide(const HeaderScale& header);

} // namespace ScaleSource
