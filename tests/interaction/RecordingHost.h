#pragma once

#include "platform/ToolHost.h"

#include <map>
#include <string>
#include <vector>

// A window stand-in: records what the tools ask of their window and answers
// the calibration dialog from a queue (0, i.e. "Cancel", when it runs dry).
class RecordingHost : public ToolHost {
public:
    void setStatusText(const std::string& text) override
    {
        status = text;
        statusHistory.push_back(text);
    }
    void setPointerShape(PointerShape shape) override { pointer = shape; }
    void setItemEnabled(const std::string& item, bool enabled) override { items[item] = enabled; }
    void repaint() override { ++repaints; }
    float askCalibrationDistance(double offered) override
    {
        offers.push_back(offered);
        if (answers.empty())
            return 0.0F;
        float a = answers.front();
        answers.erase(answers.begin());
        return a;
    }
    int imageWidth() const override { return width; }
    int imageHeight() const override { return height; }
    void openPatientDialog(int redFlag) override { patientDialogs.push_back(redFlag); }

    // The window's menu at start.
    void enableItemsAsAtStart()
    {
        for (const char* on :
             {"m_Head", "m_StemAxis", "m_CMarker", "m_Calibrate", "m_Distance", "m_ResetLandmarks"})
            items[on] = true;
        for (const char* off : {"m_Shoulder", "m_LTLines_Rotate_30", "m_LTLines_Rotate_45",
                                "m_LTLines_Rotate_60", "m_8Points"})
            items[off] = false;
    }

    std::string status;
    std::vector<std::string> statusHistory;
    PointerShape pointer = PointerShape::Default;
    std::map<std::string, bool> items;
    int repaints = 0;
    std::vector<double> offers;
    std::vector<float> answers;
    std::vector<int> patientDialogs;
    int width = 1000;
    int height = 1000;
};
