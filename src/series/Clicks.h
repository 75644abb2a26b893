#pragma once

#include <array>
#include <optional>
#include <vector>

class CZor;

namespace Series {

struct Point {
    double x = 0.0;
    double y = 0.0;
};

struct Segment {
    Point p0;
    Point p1;
};

// Every point a user places on a film, in image pixels: what click noise
// acts on. The stem axis follows from the two contour lines, as the
// stem-axis tool builds it; a case whose file holds no usable contour lines
// keeps its stored axis, and then its end points count as placed.
struct Clicks {
    std::vector<Point> head; // rim points
    bool hasContours = false;
    Segment contour1;
    Segment contour2;
    Segment axis;
    Point shoulder;
    Segment gtLine;
    Segment ltLine1;
    Segment ltLine2;
    Segment tipLine;
    std::array<Point, 8> femur{};
    std::optional<Point> cement;
};

// The placed points of a model. The contour lines are used when both have a
// length, are not parallel and give back the stored axis (within half a
// pixel) at the model's image height.
Clicks clicksOf(const CZor& zor);

// Puts the points into zor, as the tools would leave them: the head refitted
// through its rim points, the axis rebuilt from the contour lines at the
// image height (HPixel), every landmark set. False when the head cannot be
// fitted or no axis can be built.
bool applyClicks(const Clicks& clicks, CZor& zor);

// Every placed point, in a fixed order, for adding noise in place.
std::vector<Point*> placedPoints(Clicks& clicks);

} // namespace Series
