#include "interaction/ToolController.h"

#include "interaction/CalibrationTool.h"
#include "interaction/DistanceText.h"
#include "interaction/LandmarkPicker.h"
#include "interaction/ToolState.h"
#include "model/CZor.h"
#include "model/Math.h"
#include "platform/Surface.h"
#include "platform/ToolHost.h"
#include "platform/UserMessages.h"

#include <cmath>

namespace {

constexpr uint32_t kRed = 255;

// The tools whose use depends on the stem axis and its construction lines.
constexpr Tool kDependentTools[] = {Tool::Shoulder,        Tool::CMarker,
                                    Tool::LTLinesRotate30, Tool::LTLinesRotate45,
                                    Tool::LTLinesRotate60, Tool::EightPoints};

int femurEntry(ToolMode mode)
{
    return ToolModes::indexIn(mode, ToolMode::FirstFemurEntry, ToolMode::LastFemurEntry);
}

bool isFemurMove(ToolMode mode)
{
    return ToolModes::indexIn(mode, ToolMode::FirstFemurPoint, ToolMode::LastFemurPoint) >= 0;
}

} // namespace

ToolController::ToolController(CZor& zor, ToolHost& host, Surface& surface, UserMessages& messages,
                               ToolSet usable)
    : zor_(zor), host_(host), surface_(surface), messages_(messages),
      state_(std::make_unique<ToolState>()),
      picker_(std::make_unique<LandmarkPicker>(*state_, zor, host, surface)),
      calibration_(std::make_unique<CalibrationTool>(*state_, zor, host, surface))
{
    state_->usable = usable;
}

ToolController::~ToolController() = default;

// --- Menu items ---

void ToolController::m_Head()
{
    zor_.head.Valid = false;
    zor_.Visible = false;
    host_.repaint();
    // The entered points are about to go; a move of one of them cannot go on.
    for (const CPoint& p : zor_.head.points) {
        if (state_->curPoint == &p)
            state_->curPoint = nullptr;
    }
    zor_.head.removeAll();
    host_.setPointerShape(PointerShape::Crosshair);
    host_.setStatusText("enter at last 3 points for circle");
    state_->mode = ToolMode::HeadEntry;
}

void ToolController::m_StemAxis()
{
    m_ResetLandmarks();
    state_->mode = ToolMode::Axis1Start;
    host_.setPointerShape(PointerShape::Crosshair);
    host_.setStatusText("select lower point on left side of stem contour");
}

void ToolController::m_Shoulder()
{
    state_->mode = ToolMode::Shoulder;
    host_.setPointerShape(PointerShape::Crosshair);
    host_.setStatusText("select shoulder point");
}

void ToolController::m_LTLines_Rotate_30()
{
    double sqrt3 = std::sqrt(3.0);
    zor_.CreateLTLines(surface_.ScaleWidth(), sqrt3 / 3.0, sqrt3);
    host_.repaint();
}

void ToolController::m_LTLines_Rotate_45()
{
    zor_.CreateLTLines(surface_.ScaleWidth(), 1.0, 1.0);
    host_.repaint();
}

void ToolController::m_LTLines_Rotate_60()
{
    double sqrt3 = std::sqrt(3.0);
    zor_.CreateLTLines(surface_.ScaleWidth(), sqrt3, sqrt3 / 3.0);
    host_.repaint();
}

void ToolController::m_8Points()
{
    state_->mode = ToolMode::FirstFemurEntry;
    host_.setPointerShape(PointerShape::Crosshair);
    state_->curPoint = &zor_.points(0);
    host_.setStatusText("select point 1");
}

void ToolController::m_CMarker()
{
    state_->mode = ToolMode::CMarker;
    host_.setPointerShape(PointerShape::Crosshair);
    host_.setStatusText("select cement marker");
}

void ToolController::m_Calibrate()
{
    calibration_->m_Calibrate();
}

void ToolController::m_Distance()
{
    calibration_->m_Distance();
}

void ToolController::m_ResetLandmarks()
{
    zor_.resetLandmarks();
    for (Tool t : kDependentTools)
        state_->usable.set(t, false);
    host_.repaint();
}

// --- Routines ---

void ToolController::FinishHead()
{
    if (state_->mode != ToolMode::HeadEntry)
        return;
    fitHead();
    zor_.Visible = true;
    zor_.draw(surface_, drawColor1, drawColor2);
    endTool();
}

void ToolController::endTool()
{
    state_->mode = ToolMode::Idle;
    host_.setPointerShape(PointerShape::Default);
    host_.setStatusText("");
}

// --- Events ---

void ToolController::MouseDown(int button, float fx, float fy)
{
    double x = fx;
    double y = fy;
    if (button == RightButton) {
        FinishHead();
        endTool();
        return;
    }
    if (button != LeftButton)
        return;
    switch (state_->mode) {
    case ToolMode::Idle:
        picker_->PickLandmark(x, y);
        break;
    case ToolMode::Axis1Start:
    case ToolMode::Axis2Start: {
        const bool first = state_->mode == ToolMode::Axis1Start;
        CLine& line = first ? zor_.AxisLine1 : zor_.AxisLine2;
        line.Valid = true;
        line.init(x, y, x, y);
        picker_->BeginLineMove(line, x, y);
        if (first) {
            state_->mode = ToolMode::Axis1Drag;
            host_.setStatusText("select upper point on left side of stem contour");
        } else {
            state_->mode = ToolMode::Axis2Drag;
            host_.setStatusText("select upper point on right side of stem contour");
        }
        break;
    }
    case ToolMode::Axis1P0:
        state_->mode = ToolMode::Idle;
        break;
    case ToolMode::CalibFirst:
    case ToolMode::CalibSecond:
    case ToolMode::DistanceStart:
        calibration_->press(fx, fy);
        break;
    case ToolMode::HeadEntry:
        zor_.head.addPoint(x, y).draw(surface_);
        break;
    case ToolMode::ZoomByMouse:
        host_.zoomAt(fx, fy);
        break;
    default:
        // The other tools act on the release.
        break;
    }
}

void ToolController::MouseMove(int, float fx, float fy)
{
    double x = fx;
    double y = fy;
    ToolMode mode = state_->mode;
    if (mode == ToolMode::Idle) {
        picker_->hover(x, y);
        return;
    }
    if (mode == ToolMode::DistanceDrag) {
        calibration_->moveDistance(fx, fy);
        return;
    }
    CLine* line = state_->curLine;
    if (!line)
        return;
    switch (mode) {
    case ToolMode::Axis1Drag:
    case ToolMode::Axis2Drag:
    case ToolMode::Axis1P1:
    case ToolMode::Axis2P1:
        line->changeP1(surface_, x, y);
        break;
    case ToolMode::Axis1P0:
    case ToolMode::Axis2P0:
        line->changeP0(surface_, x, y);
        break;
    case ToolMode::GTLine:
    case ToolMode::LTLine1:
    case ToolMode::LTLine2:
    case ToolMode::TipLine:
        line->translate(surface_, x, y, state_->linePos);
        break;
    default:
        break;
    }
}

void ToolController::MouseUp(int, float fx, float fy)
{
    double x = fx;
    double y = fy;
    ToolMode mode = state_->mode;
    if (femurEntry(mode) >= 0) {
        releaseFemurEntry(x, y);
        return;
    }
    if (isFemurMove(mode)) {
        // Without the point picked by the press there is nothing to place.
        if (!state_->curPoint)
            return;
        state_->curPoint->change(x, y);
        commonFinish();
        return;
    }
    switch (mode) {
    case ToolMode::Idle:
    case ToolMode::CalibFirst:
    case ToolMode::CalibSecond:
    case ToolMode::ZoomByMouse:
    case ToolMode::HeadEntry:
        return;
    case ToolMode::Axis1Drag:
        releaseContourLine(true);
        return;
    case ToolMode::Axis2Drag:
        releaseContourLine(false);
        return;
    default:
        releaseTool(x, y);
        return;
    }
}

void ToolController::releaseFemurEntry(double x, double y)
{
    if (!state_->curPoint)
        return;
    int i = femurEntry(state_->mode);
    state_->curPoint->change(x, y);
    surface_.setForeColor(kRed);
    surface_.setDrawMode(DrawMode::CopyPen);
    state_->curPoint->draw(surface_);
    if (i < 7) {
        state_->curPoint = &zor_.points(static_cast<int16_t>(i + 1));
        host_.setStatusText("select point " + std::to_string(i + 2));
        state_->mode = ToolModes::offset(ToolMode::FirstFemurEntry, i + 1);
        return;
    }
    // The prompt for point 8 stays; the overlay now shows all eight.
    state_->mode = ToolMode::Idle;
    zor_.PointsValid = true;
    host_.repaint();
}

void ToolController::releaseContourLine(bool first)
{
    // A release without the press that started the stroke (or contour lines
    // from which no axis can be built) restarts the tool.
    CLine* line = state_->curLine;
    if (!line) {
        contourLineTrap();
        return;
    }
    if (first) {
        zor_.AxisLine1.copy(*line);
        state_->mode = ToolMode::Axis2Start;
        host_.setPointerShape(PointerShape::Crosshair);
        host_.setStatusText("select lower point on right side of stem contour");
        state_->usable.set(Tool::Shoulder, true);
        return;
    }
    zor_.AxisLine2.copy(*line);
    std::optional<CLine> axis =
        Math::CenterLine(zor_.AxisLine1, zor_.AxisLine2, static_cast<double>(host_.imageHeight()));
    if (!axis) {
        contourLineTrap();
        return;
    }
    zor_.AxisLine.copy(*axis);
    zor_.AxisLine.Valid = true;
    commonFinish();
}

void ToolController::contourLineTrap()
{
    messages_.showMessage("Error", "Draw Contour Lines with left Mouse Key DOWN",
                          MessageIcon::Critical);
    m_StemAxis();
}

void ToolController::rebuildAxisAfterMove()
{
    // Parallel contour lines give no axis; the previous one stays.
    if (auto axis = Math::CenterLine(zor_.AxisLine1, zor_.AxisLine2,
                                     static_cast<double>(host_.imageHeight())))
        zor_.AxisLine.copy(*axis);
    else
        singular();
}

void ToolController::singular()
{
    messages_.showMessage(Math::SingularCaption, Math::SingularText, MessageIcon::Critical);
}

bool ToolController::fitHead()
{
    if (zor_.head.fit()) {
        zor_.head.Valid = true;
        return true;
    }
    // Fewer than three points simply make no circle yet.
    if (zor_.head.points.size() >= 3)
        singular();
    return false;
}

void ToolController::releaseTool(double x, double y)
{
    CLine* line = state_->curLine;
    switch (state_->mode) {
    case ToolMode::Axis1P0:
    case ToolMode::Axis1P1:
        if (line)
            zor_.AxisLine1.copy(*line);
        rebuildAxisAfterMove();
        break;
    case ToolMode::Axis2P0:
    case ToolMode::Axis2P1:
        if (line)
            zor_.AxisLine2.copy(*line);
        rebuildAxisAfterMove();
        break;
    case ToolMode::Shoulder:
        zor_.AxisLine1.Valid = false;
        zor_.AxisLine2.Valid = false;
        zor_.Shoulder.change(x, y);
        zor_.ShoulderValid = true;
        if (!zor_.LinesVisible) {
            zor_.CreateLines(surface_.ScaleWidth());
            // Only lines that were proposed can be turned.
            if (zor_.LinesVisible) {
                for (Tool t : {Tool::LTLinesRotate30, Tool::LTLinesRotate45, Tool::LTLinesRotate60})
                    state_->usable.set(t, true);
            }
        }
        break;
    case ToolMode::LTLine1:
    case ToolMode::LTLine2:
    case ToolMode::TipLine:
        if (zor_.CreateTipLines(surface_.ScaleWidth())) {
            state_->usable.set(Tool::EightPoints, true);
            state_->usable.set(Tool::CMarker, true);
        } else if (zor_.LTLine1.Valid && zor_.LTLine2.Valid && zor_.TipLine.Valid) {
            singular(); // the lines do not cross
        }
        break;
    case ToolMode::HeadMove:
        if (state_->curPoint) {
            state_->curPoint->change(x, y);
            if (fitHead()) {
                surface_.setForeColor(kRed);
                surface_.setDrawMode(DrawMode::CopyPen);
                zor_.head.PVisible = true;
                zor_.head.draw(surface_, kRed);
            }
        }
        host_.setStatusText("");
        break;
    case ToolMode::CMarker:
        zor_.CMarker.change(x, y);
        zor_.CMarkerValid = true;
        break;
    default:
        break;
    }
    commonFinish();
}

void ToolController::commonFinish()
{
    state_->curLine = nullptr;
    state_->curPoint = nullptr;
    calibration_->dropMeasureLine();
    zor_.Visible = true;
    surface_.setForeColor(kRed);
    surface_.setDrawMode(DrawMode::CopyPen);
    state_->mode = ToolMode::Idle;
    host_.setStatusText("");
    host_.repaint();
}

void ToolController::KeyDown(int keyCode)
{
    if (keyCode != EscapeKey)
        return;
    // Zooming may have interrupted an entry; Escape ends both.
    if (state_->mode == ToolMode::ZoomByMouse)
        endTool();
    if (state_->curPoint || state_->curLine) {
        state_->mode = ToolMode::Idle;
        if (state_->curLine) {
            state_->curLine->copy(state_->savedLine);
            state_->curLine->Valid = state_->savedLine.Valid;
            state_->curLine = nullptr;
            calibration_->dropMeasureLine();
        }
        state_->curPoint = nullptr;
        zor_.Visible = true;
        // Back to the normal pen, so the repaint does not draw in the
        // rubber band's colour or in XOR.
        surface_.setForeColor(kRed);
        surface_.setDrawMode(DrawMode::CopyPen);
        host_.setStatusText("");
        host_.repaint();
    }
}

// --- State ---

void ToolController::m_ZoomMouse()
{
    state_->mode = ToolMode::ZoomByMouse;
    host_.setPointerShape(PointerShape::ZoomGlass);
    host_.setStatusText(
        "zoom by mouse click, center is current position - end with right mouse button");
}

bool ToolController::usable(Tool tool) const
{
    return state_->usable.has(tool);
}

ToolSet ToolController::usableTools() const
{
    return state_->usable;
}

ToolMode ToolController::mode() const
{
    return state_->mode;
}

void ToolController::setMode(ToolMode mode)
{
    state_->mode = mode;
}

std::string ToolController::positionText(float x, float y) const
{
    return DistanceText::oneDecimal(zor_.WorldX(x)) + " " +
           DistanceText::oneDecimal(zor_.WorldY(y));
}

const CLine* ToolController::curLine() const
{
    return state_->curLine;
}

const CPoint* ToolController::curPoint() const
{
    return state_->curPoint;
}

double ToolController::linePos() const
{
    return state_->linePos;
}
