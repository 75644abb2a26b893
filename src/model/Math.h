#pragma once

#include "model/CLine.h"
#include "model/CPoint.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// Shared numerical routines; all stateless.
namespace Math {

// An augmented matrix: rows are equations, the first rows.size() columns the
// coefficients, every further column a right-hand side.
using Matrix = std::vector<std::vector<double>>;

// The one pick tolerance: closer than 6 units (exactly 6 is not near).
bool IsNear(double x1, double y1, double x2, double y2);
// Within 6 units of the segment, between the perpendiculars through its ends.
bool IsNearLine(double x, double y, const CLine& l);
// Arctangent of num / den, +-pi/2 when |den| <= 1e-6; not four-quadrant.
double ArcTanRatio(double num, double den);
// The solver's message for a caller whose user must hear of a singular
// system: caption "Equation Solver", text "Equation is singular!".
constexpr const char* SingularCaption = "Equation Solver";
constexpr const char* SingularText = "Equation is singular!";
// Gauss-Jordan with partial pivoting, in place; the solution is left in the
// right-hand-side columns. False for a singular system (shown to the user,
// where at all, by the caller: SingularText). Throws std::invalid_argument
// for a row shorter than the coefficient block.
bool SolveEquations(Matrix& a);
// Intersection of the infinite lines through l1 and l2; nullopt when they
// are parallel or degenerate.
std::optional<CPoint> IntersectLines(const CLine& l1, const CLine& l2);
// The stem axis between two contour lines given in the same sense, cut at the
// horizontals y and 0 (P0 at y). nullopt when the contour lines are parallel
// or the axis would be horizontal.
std::optional<CLine> CenterLine(const CLine& l1, const CLine& l2, double y);
// Decimal text to a number, rounded half to even; 0 for anything else.
int32_t StrToLong(const std::string& s);
// Decimal text of n, "" for 0.
std::string LongToStr(int32_t n);

} // namespace Math
