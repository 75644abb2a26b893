#pragma once

#include "../support/RecordingMessages.h"
#include "../support/RecordingSurface.h"
#include "RecordingHost.h"
#include "interaction/ToolController.h"
#include "model/CZor.h"

#include <cmath>
#include <gtest/gtest.h>
#include <string>

// A model attached to a recording surface and a controller driven like the
// window drives it. The surface shows 400 image pixels across, so the proposed
// lines have the unit length 20.
class ToolFixture : public ::testing::Test {
protected:
    ToolFixture()
    {
        surface.scaleWidth = 400;
        surface.scaleHeight = 400;
        zor.PicBox(&surface);
        zor.Visible = true;
        zor.initScale(static_cast<int16_t>(host.width), static_cast<int16_t>(host.height), 1000.0);
        host.enableItemsAsAtStart();
    }

    static constexpr int L = ToolController::LeftButton;
    static constexpr int R = ToolController::RightButton;
    static constexpr int M = ToolController::MiddleButton;

    // Press, moves along the way, release: one stroke of the left button.
    void drag(double x0, double y0, double x1, double y1, int steps = 4, int button = L)
    {
        tools.MouseDown(button, static_cast<float>(x0), static_cast<float>(y0));
        for (int i = 1; i <= steps; ++i) {
            double t = static_cast<double>(i) / steps;
            tools.MouseMove(button, static_cast<float>(x0 + t * (x1 - x0)),
                            static_cast<float>(y0 + t * (y1 - y0)));
        }
        tools.MouseUp(button, static_cast<float>(x1), static_cast<float>(y1));
    }
    void click(double x, double y, int button = L) { drag(x, y, x, y, 0, button); }
    // The idle pointer passing over (x, y).
    void hover(double x, double y)
    {
        tools.MouseMove(0, static_cast<float>(x), static_cast<float>(y));
    }

    // The stem contour lines (40, 900)-(45, 100) and (80, 900)-(75, 100): the
    // axis runs from (60, 1000) to (60, 0).
    void drawStemAxis()
    {
        tools.m_StemAxis();
        drag(40, 900, 45, 100);
        drag(80, 900, 75, 100);
    }
    // The axis and the shoulder point at (90, 300); the proposals are
    // GTLine (130, 280)-(50, 280), TipLine (130, 360)-(50, 360) and the two
    // minor trochanter lines as their diagonals.
    void placeShoulder()
    {
        drawStemAxis();
        tools.m_Shoulder();
        click(90, 300);
    }
    // Head points on the circle of radius 40 around (300, 150).
    void enterHead()
    {
        tools.m_Head();
        for (auto [x, y] :
             {std::pair{340.0, 150.0}, {300.0, 190.0}, {260.0, 150.0}, {300.0, 110.0}})
            click(x, y);
        click(0, 0, R);
    }

    static bool near(const CPoint& p, double x, double y, double tol = 1e-9)
    {
        return std::abs(p.x - x) <= tol && std::abs(p.y - y) <= tol;
    }

    ScopedMessages messages;
    RecordingHost host;
    RecordingSurface surface;
    CZor zor;
    ToolController tools{zor, host, surface};
};
