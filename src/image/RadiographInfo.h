#pragma once

#include <string>

// What a radiograph file says about itself, as far as this program uses it.
struct RadiographInfo {
    // "DICOM", or the name of the image format ("BMP", "JPEG", "GIF", "PNG", ...).
    std::string kind;
    // DICOM: the transfer syntax by name; empty for the other kinds.
    std::string encoding;
    int width = 0;
    int height = 0;
    // Bits stored per sample (8 for the common image formats).
    int bits = 8;
    // DICOM: how the stored values became grey levels ("window C/W", "VOI LUT",
    // "min-max C/W", "colour to grey"); empty for the other kinds.
    std::string window;

    // Width of one pixel in mm at the place the source names; 0 when the file
    // gives no scale that can be used.
    double mmPerPixel = 0.0;
    // Where the scale comes from: one of the ScaleSource texts.
    std::string scaleSource;
    // Set when the file's scale could not be used and the user should be told why.
    std::string scaleNote;

    // Patient fields from the header (UTF-8; empty when absent).
    std::string famname;
    std::string vorname;
    std::string patientId;
    std::string date; // "yyyymmdd"
    // "L", "R" or empty.
    std::string laterality;

    bool isDicom() const { return kind == "DICOM"; }
};
