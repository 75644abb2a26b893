#pragma once

#include "../support/RecordingHost.h"
#include "../support/RecordingMessages.h"
#include "../support/RecordingSurface.h"
#include "interaction/ToolController.h"
#include "model/CZor.h"

#include <cmath>
#include <gtest/gtest.h>
#include <string>

// A case on a recording surface and its controller, driven as the window
// drives it. The surface shows 400 pixels across, so the proposed lines have
// the unit length 20.
class ToolFixture : public ::testing::Test {
protected:
    ToolFixture()
    {
        surface.scaleWidth = 400;
        surface.scaleHeight = 400;
        zor.Visible = true;
        zor.initScale(1000, 1000, 1000.0);
    }
    int mode() const { return ToolModes::number(tools.mode()); }

    static constexpr int L = ToolController::LeftButton;
    static constexpr int R = ToolController::RightButton;
    static constexpr int M = ToolController::MiddleButton;

    void drag(float x0, float y0, float x1, float y1, int button = L)
    {
        tools.MouseDown(button, x0, y0);
        tools.MouseMove(button, (x0 + x1) / 2, (y0 + y1) / 2);
        tools.MouseMove(button, x1, y1);
        tools.MouseUp(button, x1, y1);
    }
    void click(float x, float y, int button = L)
    {
        tools.MouseDown(button, x, y);
        tools.MouseUp(button, x, y);
    }
    void hover(float x, float y) { tools.MouseMove(0, x, y); }

    // Four points on the circle of radius 40 around (300, 150), then a right press.
    void enterHead()
    {
        tools.m_Head();
        for (auto [x, y] :
             {std::pair{340.0F, 150.0F}, {300.0F, 190.0F}, {260.0F, 150.0F}, {300.0F, 110.0F}})
            click(x, y);
        click(0, 0, R);
    }
    // Contour lines (40, 900)-(45, 100) and (80, 900)-(75, 100): the axis is x = 60.
    void drawStemAxis()
    {
        tools.m_StemAxis();
        drag(40, 900, 45, 100);
        drag(80, 900, 75, 100);
    }
    // The axis and the shoulder at (90, 300); the proposals are GTLine
    // (130, 280)-(50, 280), TipLine (130, 360)-(50, 360) and the minor
    // trochanter lines as their diagonals.
    void placeShoulder()
    {
        drawStemAxis();
        tools.m_Shoulder();
        click(90, 300);
    }

    static bool near(const CPoint& p, double x, double y, double tol = 1e-9)
    {
        return std::abs(p.x - x) <= tol && std::abs(p.y - y) <= tol;
    }

    RecordingMessages messages;
    RecordingHost host;
    RecordingSurface surface;
    CZor zor;
    ToolController tools{zor, host, surface, messages};
};
