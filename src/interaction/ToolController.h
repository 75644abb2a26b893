#pragma once

#include "interaction/ToolState.h"

#include <cstdint>
#include <memory>
#include <string>

class CalibrationTool;
class LandmarkPicker;
class CZor;
class Surface;
class ToolHost;
class UserMessages;

// The measurement-tool state machine of one open case. The window forwards
// the picture's pointer and key events in image coordinates and the
// "&Measurement Tools" menu commands and "Zoom with Mouse"; the controller
// changes the landmarks of `zor`, draws feedback on `surface` and asks `host`
// for everything else (status text, pointer shape, repaints, zooming, the
// calibration distance). After every event the window asks it which tools
// are usable and enables its items accordingly. It keeps references to all
// three: when the window opens another image and so replaces its model, it
// creates a new controller as well, handing over usableTools().
class ToolController {
public:
    // Button codes of MouseDown/MouseUp and bits of MouseMove's `buttons`.
    static constexpr int LeftButton = 1;
    static constexpr int RightButton = 2;
    static constexpr int MiddleButton = 4;
    static constexpr int EscapeKey = 27;
    // The colours every full repaint passes to `zor.draw` (magenta, red).
    static constexpr uint32_t drawColor1 = 0xFF00FF;
    static constexpr uint32_t drawColor2 = 255;

    ToolController(CZor& zor, ToolHost& host, Surface& surface, UserMessages& messages,
                   ToolSet usable = ToolSet::initial());
    ~ToolController();
    ToolController(const ToolController&) = delete;
    ToolController& operator=(const ToolController&) = delete;

    // The items of "&Measurement Tools", named as the items.
    void m_Head();
    void m_StemAxis();
    void m_Shoulder();
    void m_LTLines_Rotate_30();
    void m_LTLines_Rotate_45();
    void m_LTLines_Rotate_60();
    void m_8Points();
    void m_CMarker();
    void m_Calibrate();
    void m_Distance();
    void m_ResetLandmarks();
    // "Zoom with Mouse": each left press zooms in about the pointer, the
    // right button or Escape ends it.
    void m_ZoomMouse();

    // Whether the item of `tool` may be used now.
    bool usable(Tool tool) const;
    ToolSet usableTools() const;

    // Pointer events of the picture in image coordinates. `button` is one of
    // the codes above; `buttons` of a move is the set of held buttons.
    void MouseDown(int button, float x, float y);
    void MouseMove(int buttons, float x, float y);
    void MouseUp(int button, float x, float y);
    // Only Escape (27) is handled.
    void KeyDown(int keyCode);

    ToolMode mode() const;
    void setMode(ToolMode mode);

    // The text of the position box for a pointer at (x, y): world millimetres
    // with one decimal each, e.g. "12.5 80.0".
    std::string positionText(float x, float y) const;

    // What a move or entry is working on, for the window and for tests;
    // null when nothing is under way.
    const CLine* curLine() const;
    const CPoint* curPoint() const;
    // Relative grab position along a line being moved as a whole.
    double linePos() const;

private:
    void FinishHead();
    // Back to Idle with the default pointer and no prompt.
    void endTool();
    // Fits the head through its points and sets head.Valid when it fits; a
    // singular system is told to the user.
    bool fitHead();
    void singular();

    void releaseTool(double x, double y);
    void releaseContourLine(bool first);
    void rebuildAxisAfterMove();
    void releaseFemurEntry(double x, double y);
    void commonFinish();
    void contourLineTrap();

    CZor& zor_;
    ToolHost& host_;
    Surface& surface_;
    UserMessages& messages_;
    std::unique_ptr<ToolState> state_;
    std::unique_ptr<LandmarkPicker> picker_;
    std::unique_ptr<CalibrationTool> calibration_;
};
