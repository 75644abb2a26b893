#include "session/Viewport.h"

#include <cmath>
#include <gtest/gtest.h>

namespace {

// A 3000 x 2500 image in an area of 800 x 600 screen pixels, opened 1:1.
Viewport opened(int w = 3000, int h = 2500)
{
    Viewport v;
    v.setImageSize(w, h);
    v.reset(800, 600);
    return v;
}

TEST(Viewport, OpensOneToOneAndZoomStepsStopAtTheirLimits)
{
    Viewport v = opened(1500, 1200);
    EXPECT_EQ(v.hBar(), (Viewport::Bar{700, 800, 0}));
    EXPECT_EQ(v.vBar(), (Viewport::Bar{600, 600, 0}));
    int in = 0;
    while (v.zoomIn())
        ++in;
    EXPECT_EQ(in, 10);
    EXPECT_NEAR(v.zoomFactor(), std::pow(2.0, -10.0 / 3.0), 1e-5);
    int out = 0;
    while (v.zoomOut())
        ++out;
    EXPECT_EQ(out, 19);
    EXPECT_NEAR(v.zoomFactor(), 8.0, 1e-4);
    // The region and the ranges follow: the whole image shows, no range left.
    EXPECT_EQ(v.ScaleWidth(), 800 * v.zoomFactor());
    EXPECT_EQ(v.hBar().maximum, 0);
    EXPECT_EQ(v.vBar().pageStep, int(std::nearbyint(600 * v.zoomFactor())));
}

// In centre mode the centre stays, else the top-left corner; near the
// corner the edges are clamped to 0; by mouse the pressed point becomes the
// centre.
TEST(Viewport, ZoomKeepsItsFixedPoint)
{
    for (bool center : {true, false}) {
        Viewport v = opened();
        v.setCenterMode(center);
        v.scrolled(400, 300);
        v.zoomIn();
        const float z = v.zoomFactor();
        if (center) {
            EXPECT_FLOAT_EQ(v.ScaleLeft() + v.ScaleWidth() / 2, 800.0f);
            EXPECT_FLOAT_EQ(v.ScaleTop() + v.ScaleHeight() / 2, 600.0f);
            EXPECT_EQ(v.hBar().value, int(std::nearbyint(800 - 400 * z)));
        } else {
            EXPECT_EQ(v.ScaleLeft(), 400.0f);
            EXPECT_EQ(v.ScaleTop(), 300.0f);
        }
        v.scrolled(3, 2);
        v.zoomOut();
        EXPECT_EQ(v.ScaleLeft(), center ? 0.0f : 3.0f);
        EXPECT_EQ(v.ScaleTop(), center ? 0.0f : 2.0f);
    }
    Viewport v = opened();
    v.zoom(v.zoomStep(), true, 1000, 700);
    EXPECT_FLOAT_EQ(v.ScaleLeft() + v.ScaleWidth() / 2, 1000.0f);
    // Past the right edge the bar's range wins: the region moves to the bars.
    v.zoom(v.zoomStep(), true, 2999, 1000);
    EXPECT_EQ(v.ScaleLeft(), float(v.hBar().maximum));
}

// By mouse the point under the pointer stays, up to the same limits as the
// steps; Fit to Window shows the whole image from its corner.
TEST(Viewport, ZoomAboutThePointerAndFit)
{
    Viewport v = opened();
    int in = 0;
    while (v.zoomAbout(0.5f, 400, 300))
        ++in;
    EXPECT_EQ(in, 4);
    EXPECT_FLOAT_EQ(v.ScaleLeft() + 400 * v.zoomFactor(), 400.0f);
    EXPECT_FLOAT_EQ(v.ScaleTop() + 300 * v.zoomFactor(), 300.0f);
    int out = 0;
    while (v.zoomAbout(2.0f, 400, 300))
        ++out;
    EXPECT_EQ(out, 7);
    EXPECT_FLOAT_EQ(v.zoomFactor(), 8.0f);
    v.fit();
    EXPECT_FLOAT_EQ(v.zoomFactor(), 2500.0f / 600.0f);
    EXPECT_TRUE(v.ScaleLeft() == 0.0f && v.ScaleTop() == 0.0f);
}

TEST(Viewport, ResizeKeepsTheTopLeftPointAndTheMagnification)
{
    Viewport v = opened();
    v.setCenterMode(false);
    v.zoom(0.5f);
    v.scrolled(200, 100);
    v.resize(1000, 700);
    EXPECT_EQ(v.ScaleLeft(), 200.0f);
    EXPECT_EQ(v.ScaleTop(), 100.0f);
    EXPECT_EQ(v.hBar(), (Viewport::Bar{2500, 500, 200}));
    // A bar whose value lies beyond its new maximum takes the region along.
    v.scrolled(2500, 2150);
    v.resize(1200, 900);
    EXPECT_EQ(v.ScaleLeft(), 2400.0f);
    EXPECT_EQ(v.ScaleTop(), 2050.0f);
}

} // namespace
