#include "image/SharpenPlan.h"

#include <cmath>
#include <cstdlib>
#include <utility>
#include <vector>

namespace {

// Largest 4 x |sum| the 16-bit path allows, with room for the rounding step.
constexpr int kInt16Limit = 32000;

bool sameWeights(const SharpenKernel& a, const SharpenKernel& b)
{
    if (a.n != b.n)
        return false;
    for (int i = -a.n; i <= a.n; ++i)
        for (int j = -a.n; j <= a.n; ++j)
            if (a.at(i, j) != b.at(i, j))
                return false;
    return true;
}

} // namespace

bool SharpenPlan::make(const SharpenKernel& k, SharpenPlan& plan)
{
    if (k.n < 1 || k.n > 2)
        return false;
    plan = SharpenPlan{};
    plan.n = k.n;
    int magnitude = 0;
    struct Tap {
        int q, i, j;
    };
    std::vector<Tap> taps;
    for (int i = -k.n; i <= k.n; ++i)
        for (int j = -k.n; j <= k.n; ++j) {
            const float q = k.at(i, j) * 4.0f;
            if (!(std::fabs(q) <= 1024.0f) || q != std::nearbyint(q))
                return false;
            if (q == 0.0f)
                continue;
            magnitude += std::abs(int(q));
            taps.push_back({int(q), i, j});
        }
    if (magnitude * 255 > kInt16Limit)
        return false;
    std::stable_sort(taps.begin(), taps.end(),
                     [](const Tap& a, const Tap& b) { return a.q < b.q; });
    for (const Tap& t : taps) {
        if (plan.groupCount == 0 || plan.q[plan.groupCount - 1] != t.q) {
            plan.q[plan.groupCount] = int16_t(t.q);
            ++plan.groupCount;
        }
        plan.tapRow[plan.tapCount] = t.i;
        plan.tapCol[plan.tapCount] = t.j;
        ++plan.tapCount;
        plan.groupEnd[plan.groupCount - 1] = plan.tapCount;
    }
    const Shape shapes[3] = {Shape::Strength1, Shape::Strength2, Shape::Strength3};
    for (int s = 1; s <= 3; ++s) {
        if (sameWeights(k, Global::GetSharpenKernel(int16_t(s)))) {
            plan.shape = shapes[s - 1];
            return true;
        }
    }
    return false;
}
