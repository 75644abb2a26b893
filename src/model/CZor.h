#pragma once

#include "model/CCircle.h"
#include "model/CLine.h"
#include "model/CPatient.h"
#include "model/CPoint.h"
#include "model/ToolMode.h"

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

class Surface;

// The stem frame of an analysis: its rotation and its origin in world mm.
struct StemFrame {
    double SinA = 0.0;
    double CosA = 0.0;
    CPoint Center;
};

// The measurement model of one open radiograph: the landmarks in image
// coordinates, the image scale, the world and stem frames and the proposed
// construction lines. A plain value: copying gives an independent case and
// == compares every field. The tools hold references into the one model they
// work on and change its landmarks in place.
class CZor {
public:
    bool operator==(const CZor&) const = default;

    bool DatFlag = false;
    bool Visible = false;

    // Frame and calibration.
    double ScaleFactor = 1.0; // image pixels per mm
    int16_t WPixel = 0;
    int16_t HPixel = 0;
    double CalibDist = 0.0;           // mm between the calibration points
    std::optional<CLine> CalibPoints; // image coordinates; may be empty
    double SinA = 0.0;
    double CosA = 0.0;
    CPoint Center; // stem-frame origin in WORLD mm

    // Landmarks.
    CLine AxisLine;
    CLine AxisLine1;
    CLine AxisLine2;
    CPoint Shoulder;
    bool ShoulderValid = false;
    CPoint CMarker;
    bool CMarkerValid = false;
    CLine GTLine;
    bool LinesVisible = false;
    CLine LTLine1;
    CLine LTLine2;
    CLine TipLine;
    CLine TipLine1;
    CLine TipLine2;
    CLine TipLine3;
    bool PointsValid = false;
    CCircle head;
    std::string Datum; // "yyyymmdd" or empty
    CPatient Patient;

    // --- Frame and calibration ---
    // The widths a film can represent, in mm: beyond them the conversions
    // overflow or lose every digit.
    static constexpr double kMinWorldWidth = 1.0;
    static constexpr double kMaxWorldWidth = 100000.0;
    // Sets the image size and ScaleFactor = WPix / W. Refused (nothing
    // changes, false) unless WPix > 0 and W lies within 1 mm to 100 m.
    bool initScale(int16_t WPix, int16_t HPix, double W);
    double WorldWidth() const { return WPixel / ScaleFactor; }
    double PixelX(double x) const { return x * ScaleFactor; }
    // World (x, y, x, y, ...) to image coordinates in place. An odd count is
    // refused untouched (false).
    bool Pixel(std::span<double> values) const;
    double WorldX(double x) const { return x / ScaleFactor; }
    double WorldY(double y) const { return (HPixel - y) / ScaleFactor; }
    // Image coordinates to the stem frame (mm, y upwards) in place; without
    // a frame argument the one kept in SinA, CosA and Center.
    void TransformP(CPoint& p) const;
    void TransformP(CPoint& p, const StemFrame& frame) const;
    void TransformL(CLine& l) const;
    // Scale from CalibPoints and CalibDist; CalibSource becomes "two points".
    // Nothing changes without CalibPoints, with coinciding points or with
    // CalibDist not above 0.
    void Calibrate(int16_t WPix, int16_t HPix);

    // Where the scale comes from, as the status line and the landmark file
    // say it: kNotCalibrated while the film is taken as 430 mm wide, "two
    // points", a preset's name, "landmark file", or what a film's header says.
    static constexpr const char* kNotCalibrated = "not calibrated";
    std::string CalibSource = kNotCalibrated;
    // False while CalibSource says the scale is not calibrated.
    bool calibrated() const;
    // The scale and its source for the status line: "0.139 mm/px, calibrated
    // at the patient (DICOM)", "0.478 mm/px, NOT CALIBRATED (430 mm film default)".
    std::string scaleText() const;

    // Applies a named preset ("mm430", "DirektR1", ...; exact case) with the
    // given image size; CalibSource becomes its name. False, nothing changed,
    // for an unknown name.
    bool applyPreset(const std::string& name, int16_t WPix, int16_t HPix);
    // The world width of a preset, or 0.0 for an unknown name.
    static double presetWidth(const std::string& name);

    // --- Landmark set ---
    // Femur point ix (0 to 7) itself. Throws std::out_of_range otherwise.
    CPoint& points(int16_t ix);
    const CPoint& points(int16_t ix) const;
    // The visible landmarks on s; color1/color2 colour the proposed lines as
    // not yet accepted / accepted. Nothing when not Visible.
    void draw(Surface& s, uint32_t color1, uint32_t color2) const;
    // Hit code of the landmark under (x, y): contour ends, shoulder, the
    // construction lines, head points, femur points, cement marker; Idle for
    // none.
    ToolMode findMode(double x, double y) const;
    // Hides the construction lines and clears the set-flags; positions, the
    // head and the flags of GTLine, LTLine1/2 and TipLine stay.
    void resetLandmarks();

    // --- Construction lines ---
    // Their lengths follow the zoom: scaleWidth is the width of the shown
    // region in image pixels (the view's ScaleWidth).
    // Proposes GTLine, TipLine and LTLine1/2 around the shoulder point and
    // shows them. Nothing with a zero-length axis.
    void CreateLines(float scaleWidth);
    // Turns LTLine1/2 to the angles with tangents t1, t2 against the axis.
    // Nothing with a zero-length axis.
    void CreateLTLines(float scaleWidth, double t1, double t2);
    // Divides the axis between the minor trochanter cross and the tip line
    // into quarters. False, tip lines unchanged, when LTLine1, LTLine2 or
    // TipLine is not Valid or an intersection is missing or degenerate.
    bool CreateTipLines(float scaleWidth);

private:
    std::array<CPoint, 8> points_;
};
