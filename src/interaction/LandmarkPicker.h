#pragma once

#include <string>

class CLine;
class CZor;
class Surface;
class ToolHost;
struct ToolState;

// The idle pointer over the landmarks: what it shows under the pointer, and
// the start of a move when it is pressed on one. Line moves are also how the
// stem axis tool draws its contour lines.
class LandmarkPicker {
public:
    LandmarkPicker(ToolState& state, CZor& zor, ToolHost& host, Surface& surface)
        : state_(state), zor_(zor), host_(host), surface_(surface)
    {
    }

    // Status text and pointer shape for the landmark under (x, y).
    void hover(double x, double y);
    // Left press in the idle state: the hit landmark becomes the state.
    void PickLandmark(double x, double y);
    // Hides the overlay and starts a cyan XOR rubber band of `line`, keeping
    // its end points for Escape and the grab position for translate.
    void BeginLineMove(CLine& line, double x, double y);
    void ShowMovePrompt(const std::string& name);

private:
    ToolState& state_;
    CZor& zor_;
    ToolHost& host_;
    Surface& surface_;
};
