#include "interaction/CaseEdits.h"

#include "model/CZor.h"

namespace CaseEdits {

std::string name(int mode)
{
    struct Range {
        int first, last;
        const char* name;
    };
    // The tool states and hit codes of the tools, by their numbers.
    constexpr Range ranges[] = {
        {1, 4, "Stem Axis"},
        {5, 8, "Move Contour Line"},
        {9, 9, "Shoulder Point"},
        {10, 10, "Move Major Trochanter Line"},
        {11, 12, "Move Minor Trochanter Line"},
        {13, 13, "Move Tip Line"},
        {21, 22, "Calibrate"},
        {100, 100, "Head"},
        {101, 199, "Move Head Point"},
        {200, 207, "8 Points"},
        {210, 217, "Move Femur Point"},
        {220, 220, "Cement Marker"},
    };
    for (const Range& r : ranges)
        if (mode >= r.first && mode <= r.last)
            return r.name;
    return "Edit";
}

bool sameCase(const CZor& a, const CZor& b)
{
    if (a.Visible == b.Visible && a.SinA == b.SinA && a.CosA == b.CosA && a.Center == b.Center)
        return a == b;
    CZor like = b;
    like.Visible = a.Visible;
    like.SinA = a.SinA;
    like.CosA = a.CosA;
    like.Center = a.Center;
    return a == like;
}

} // namespace CaseEdits
