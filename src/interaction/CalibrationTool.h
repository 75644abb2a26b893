#pragma once

#include <cstdint>

class CZor;
class Surface;
class ToolHost;
struct ToolState;

// The two tools that deal with real lengths: calibration from two clicked
// points and a typed distance (CalibFirst, CalibSecond), and the distance
// readout of a dragged line (DistanceStart, DistanceDrag). They share the
// controller's tool state.
class CalibrationTool {
public:
    CalibrationTool(ToolState& state, CZor& zor, ToolHost& host, Surface& surface)
        : state_(state), zor_(zor), host_(host), surface_(surface)
    {
    }

    void m_Calibrate();
    void m_Distance();

    // Left press in CalibFirst, CalibSecond or DistanceStart.
    void press(float x, float y);
    // Move in DistanceDrag: the green rubber band and its length in mm.
    void moveDistance(float x, float y);
    // The distance line is gone once its drag has ended.
    void dropMeasureLine();

private:
    void finishCalibration();

    ToolState& state_;
    CZor& zor_;
    ToolHost& host_;
    Surface& surface_;
};
