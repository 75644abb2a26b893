#include "model/Math.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <stdexcept>

namespace Math {

namespace {
// Kept at the precision the angles have always been computed with.
constexpr double kPi = 3.14159265358979;
constexpr double kPickSquared = 36.0;
constexpr double kSingular = 1e-6;
} // namespace

bool IsNear(double x1, double y1, double x2, double y2)
{
    double dx = x2 - x1;
    double dy = y2 - y1;
    return dx * dx + dy * dy < kPickSquared;
}

bool IsNearLine(double x, double y, const CLine& l)
{
    double dx = l.P1.x - l.P0.x;
    double dy = l.P1.y - l.P0.y;
    if (dx * dx + dy * dy < kPickSquared)
        return IsNear(x, y, l.P1.x, l.P1.y) || IsNear(x, y, l.P0.x, l.P0.y);
    double len = std::sqrt(dx * dx + dy * dy);
    double nx = -dy / len;
    double ny = dx / len;
    double ex = x - l.P0.x;
    double ey = y - l.P0.y;
    double det = dx * ny - dy * nx;
    double t = (ny * ex - nx * ey) / det;
    if (t < 0 || t > 1)
        return false;
    double s = (dx * ey - dy * ex) / det;
    return s * s < kPickSquared;
}

double ArcTanRatio(double num, double den)
{
    if (std::fabs(den) <= 1e-6)
        return num >= 0 ? kPi / 2 : -kPi / 2;
    return std::atan(num / den);
}

bool SolveEquations(Matrix& a)
{
    const std::size_t n = a.size();
    for (const auto& row : a) {
        if (row.size() < n || row.size() != a.front().size())
            throw std::invalid_argument("SolveEquations: malformed matrix");
    }
    if (n == 0)
        return true;
    const std::size_t cols = a.front().size();

    for (std::size_t k = 0; k < n; ++k) {
        double amax = std::fabs(a[k][k]);
        std::size_t p = k;
        for (std::size_t i = k + 1; i < n; ++i) {
            // Strictly greater: the first of equal candidates stays the pivot.
            if (std::fabs(a[i][k]) > amax) {
                amax = std::fabs(a[i][k]);
                p = i;
            }
        }
        if (amax < kSingular)
            return false;
        if (p != k) {
            for (std::size_t j = k; j < cols; ++j)
                std::swap(a[k][j], a[p][j]);
        }
        double pivot = a[k][k];
        for (std::size_t j = k; j < cols; ++j)
            a[k][j] = a[k][j] / pivot;
        for (std::size_t i = k + 1; i < n; ++i) {
            double f = a[i][k];
            for (std::size_t j = k + 1; j < cols; ++j)
                a[i][j] = a[i][j] - f * a[k][j];
        }
    }
    for (std::size_t k = n; k-- > 0;) {
        for (std::size_t i = 0; i < k; ++i) {
            double f = a[i][k];
            for (std::size_t j = k; j < cols; ++j)
                a[i][j] = a[i][j] - f * a[k][j];
        }
    }
    return true;
}

std::optional<CPoint> IntersectLines(const CLine& l1, const CLine& l2)
{
    Matrix a = {
        {l1.P1.x - l1.P0.x, l2.P0.x - l2.P1.x, l2.P0.x - l1.P0.x},
        {l1.P1.y - l1.P0.y, l2.P0.y - l2.P1.y, l2.P0.y - l1.P0.y},
    };
    if (!SolveEquations(a))
        return std::nullopt;
    double t = a[0][2];
    return CPoint((l1.P1.x - l1.P0.x) * t + l1.P0.x, (l1.P1.y - l1.P0.y) * t + l1.P0.y);
}

std::optional<CLine> CenterLine(const CLine& l1, const CLine& l2, double y)
{
    // The directions and their lengths have always been kept in single
    // precision; the axis position depends on it in the last bits.
    float d1x = static_cast<float>(l1.P0.x - l1.P1.x);
    float d1y = static_cast<float>(l1.P0.y - l1.P1.y);
    float d2x = static_cast<float>(l2.P0.x - l2.P1.x);
    float d2y = static_cast<float>(l2.P0.y - l2.P1.y);
    float n1 = static_cast<float>(
        std::sqrt(static_cast<double>(d1x) * d1x + static_cast<double>(d1y) * d1y));
    float n2 = static_cast<float>(
        std::sqrt(static_cast<double>(d2x) * d2x + static_cast<double>(d2y) * d2y));

    // Parallel contour lines have no crossing to bisect from: no axis.
    std::optional<CPoint> crossing = IntersectLines(l1, l2);
    if (!crossing)
        return std::nullopt;
    CLine m;
    m.P0.copy(*crossing);
    m.P1.change(crossing->x + static_cast<double>(d1x) / n1 + static_cast<double>(d2x) / n2,
                crossing->y + static_cast<double>(d1y) / n1 + static_cast<double>(d2y) / n2);

    CLine bottom;
    bottom.init(0, y, 100, y);
    CLine top;
    top.init(0, 0, 100, 0);
    std::optional<CPoint> p0 = IntersectLines(m, bottom);
    if (!p0)
        return std::nullopt;
    std::optional<CPoint> p1 = IntersectLines(m, top);
    if (!p1)
        return std::nullopt;
    CLine axis;
    axis.init(p0->x, p0->y, p1->x, p1->y);
    return axis;
}

int32_t StrToLong(const std::string& s)
{
    // Plain decimal numbers only, with optional blanks around, a sign and a
    // fractional part; no hexadecimal, exponents, "inf" or "nan".
    std::size_t b = s.find_first_not_of(" \t");
    if (b == std::string::npos)
        return 0;
    std::size_t e = s.find_last_not_of(" \t");
    std::string t = s.substr(b, e - b + 1);
    std::size_t i = 0;
    if (t[i] == '+' || t[i] == '-')
        ++i;
    bool digits = false;
    bool point = false;
    for (; i < t.size(); ++i) {
        char c = t[i];
        if (c >= '0' && c <= '9')
            digits = true;
        else if (c == '.' && !point)
            point = true;
        else
            return 0;
    }
    if (!digits)
        return 0;
    errno = 0;
    double v = std::strtod(t.c_str(), nullptr);
    if (errno == ERANGE || !std::isfinite(v))
        return 0;
    // Halves go to the even neighbour, as the number conversion always did.
    double r = std::nearbyint(v);
    if (r < std::numeric_limits<int32_t>::min() || r > std::numeric_limits<int32_t>::max())
        return 0;
    return static_cast<int32_t>(r);
}

std::string LongToStr(int32_t n)
{
    return n == 0 ? std::string() : std::to_string(n);
}

} // namespace Math
