#include "interaction/ToolController.h"

#include "interaction/ToolState.h"

ToolController::ToolController(CZor& zor, ToolHost& host, Surface& surface)
    : zor_(zor), host_(host), surface_(surface), state_(std::make_unique<ToolState>())
{
}

ToolController::~ToolController() = default;

void ToolController::m_Head() {}
void ToolController::m_StemAxis() {}
void ToolController::m_Shoulder() {}
void ToolController::m_LTLines_Rotate_30() {}
void ToolController::m_LTLines_Rotate_45() {}
void ToolController::m_LTLines_Rotate_60() {}
void ToolController::m_8Points() {}
void ToolController::m_CMarker() {}
void ToolController::m_Calibrate() {}
void ToolController::m_Distance() {}
void ToolController::m_ResetLandmarks() {}

void ToolController::MouseDown(int, float, float) {}
void ToolController::MouseMove(int, float, float) {}
void ToolController::MouseUp(int, float, float) {}
void ToolController::KeyDown(int) {}

int16_t ToolController::mode() const
{
    return state_->mode;
}

void ToolController::setMode(int16_t mode)
{
    state_->mode = mode;
}

std::string ToolController::positionText(float, float) const
{
    return "0.0 0.0";
}

const CLine* ToolController::curLine() const
{
    return nullptr;
}

const CPoint* ToolController::curPoint() const
{
    return nullptr;
}

double ToolController::linePos() const
{
    return 1.0;
}
