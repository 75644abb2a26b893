#pragma once

#include "platform/PatientDialogOpener.h"

#include <string>

// Pointer shapes the tools ask for.
enum class PointerShape { Default, Crosshair, SizeAll, SizeNS, SizeNWSE };

// What the tool state machine needs from its window.
class ToolHost : public PatientDialogOpener {
public:
    virtual ~ToolHost() = default;

    virtual void setStatusText(const std::string& text) = 0;
    virtual void setPointerShape(PointerShape shape) = 0;
    // Enables or disables a menu item by its name ("m_Shoulder", ...).
    virtual void setItemEnabled(const std::string& item, bool enabled) = 0;
    // A full repaint: the visible image, then the model's landmarks.
    virtual void repaint() = 0;
    // Shows the calibration dialog, offering `offered` (0 for none); returns
    // the distance in mm the user entered, 0 for "Cancel" or a closed dialog.
    virtual float askCalibrationDistance(double offered) = 0;
    // Size of the loaded image in pixels.
    virtual int imageWidth() const = 0;
    virtual int imageHeight() const = 0;
};
