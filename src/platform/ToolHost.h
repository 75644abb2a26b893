#pragma once

#include "platform/PatientDialogOpener.h"

#include <string>

// Pointer shapes the tools ask for.
enum class PointerShape { Default, Crosshair, SizeAll, SizeNS, SizeNWSE, ZoomGlass };

// What the tool state machine needs from its window.
class ToolHost : public PatientDialogOpener {
public:
    virtual ~ToolHost() = default;

    virtual void setStatusText(const std::string& text) = 0;
    virtual void setPointerShape(PointerShape shape) = 0;
    // A full repaint: the visible image, then the model's landmarks.
    virtual void repaint() = 0;
    // One zoom step in, centred on the image point (x, y).
    virtual void zoomAt(float x, float y) = 0;
    // Shows the calibration dialog, offering `offered` (0 for none); returns
    // the distance in mm the user entered, 0 for "Cancel" or a closed dialog.
    virtual float askCalibrationDistance(double offered) = 0;
    // Size of the loaded image in pixels.
    virtual int imageWidth() const = 0;
    virtual int imageHeight() const = 0;
};
