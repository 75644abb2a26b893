#pragma once

#include "platform/ToolHost.h"

#include <string>
#include <utility>
#include <vector>

// A window stand-in with a 1000 x 1000 pixel image: records what the tools
// ask of it and answers the calibration dialog with `answer`.
class RecordingHost : public ToolHost {
public:
    void setStatusText(const std::string& text) override { status = text; }
    void setPointerShape(PointerShape shape) override { pointer = shape; }
    void repaint() override { ++repaints; }
    void zoomAt(float x, float y) override { zooms.push_back({x, y}); }
    float askCalibrationDistance(double offered) override
    {
        offers.push_back(offered);
        return answer;
    }
    int imageWidth() const override { return 1000; }
    int imageHeight() const override { return 1000; }
    void openPatientDialog(int) override {}

    std::string status;
    PointerShape pointer = PointerShape::Default;
    std::vector<std::pair<float, float>> zooms;
    int repaints = 0;
    std::vector<double> offers;
    float answer = 0.0F; // what the user types; 0 is "Cancel"
};
