#include "image/Sharpen.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstring>
#include <thread>
#include <vector>

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#define ZOR_SHARPEN_X86 1
#endif

namespace Sharpen {

namespace {

// Largest |sum| the 16-bit path allows, with room for the rounding step.
constexpr int kInt16Limit = 32000;

// The non-zero weights of a kernel, times 4, grouped by value so that each
// group is one multiplication: the taps of a group are summed first.
struct Plan {
    int n = 0;
    int tapCount = 0;
    int groupCount = 0;
    std::ptrdiff_t offset[25] = {}; // from the output pixel into the source block
    int groupEnd[25] = {};          // taps [groupEnd[g-1], groupEnd[g]) weigh q[g]
    int16_t q[25] = {};
};

bool makePlan(const SharpenKernel& k, std::size_t stride, Plan& plan)
{
    if (k.n < 1 || k.n > 2)
        return false;
    plan = Plan{};
    plan.n = k.n;
    int magnitude = 0;
    std::vector<std::pair<int, std::ptrdiff_t>> taps;
    for (int i = -k.n; i <= k.n; ++i)
        for (int j = -k.n; j <= k.n; ++j) {
            const float q = k.at(i, j) * 4.0f;
            if (!(std::fabs(q) <= 1024.0f) || q != std::nearbyint(q))
                return false;
            if (q == 0.0f)
                continue;
            magnitude += std::abs(int(q));
            // Output [y][x] reads source [y - i][x - j].
            taps.emplace_back(int(q), -std::ptrdiff_t(i) * std::ptrdiff_t(stride) - j);
        }
    if (magnitude * 255 > kInt16Limit)
        return false;
    std::stable_sort(taps.begin(), taps.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    for (const auto& [q, off] : taps) {
        if (plan.groupCount == 0 || plan.q[plan.groupCount - 1] != q) {
            plan.q[plan.groupCount] = int16_t(q);
            ++plan.groupCount;
        }
        plan.offset[plan.tapCount++] = off;
        plan.groupEnd[plan.groupCount - 1] = plan.tapCount;
    }
    return true;
}

// round-half-to-even(s / 4), then clamped to 0..255. Below -0.5 (s < -2) the
// rounded value is negative and clamps to 0; from 255.5 (s >= 1022) it is at
// least 256 and clamps to 255.
inline uint8_t finish(int s)
{
    const int r = (s + 1 + ((s >> 2) & 1)) >> 2;
    return uint8_t(std::clamp(r, 0, 255));
}

void rowScalar(const uint8_t* src, uint8_t* dst, int x0, int x1, const Plan& p)
{
    for (int x = x0; x < x1; ++x) {
        int total = 0;
        int t = 0;
        for (int g = 0; g < p.groupCount; ++g) {
            int s = 0;
            for (; t < p.groupEnd[g]; ++t)
                s += src[x + p.offset[t]];
            total += s * p.q[g];
        }
        dst[x] = finish(total);
    }
}

#ifdef ZOR_SHARPEN_X86
__attribute__((target("avx2"))) inline __m256i widen(const uint8_t* p)
{
    return _mm256_cvtepu8_epi16(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p)));
}

__attribute__((target("avx2"))) inline __m256i finish16(__m256i total)
{
    const __m256i one = _mm256_set1_epi16(1);
    const __m256i odd = _mm256_and_si256(_mm256_srai_epi16(total, 2), one);
    return _mm256_srai_epi16(_mm256_add_epi16(_mm256_add_epi16(total, one), odd), 2);
}

// 32 output pixels from x on.
__attribute__((target("avx2"))) inline void block32(const uint8_t* src, uint8_t* dst, int x,
                                                    const Plan& p)
{
    __m256i lo = _mm256_setzero_si256();
    __m256i hi = _mm256_setzero_si256();
    int t = 0;
    for (int g = 0; g < p.groupCount; ++g) {
        __m256i slo = _mm256_setzero_si256();
        __m256i shi = _mm256_setzero_si256();
        for (; t < p.groupEnd[g]; ++t) {
            const uint8_t* s = src + x + p.offset[t];
            slo = _mm256_add_epi16(slo, widen(s));
            shi = _mm256_add_epi16(shi, widen(s + 16));
        }
        const __m256i q = _mm256_set1_epi16(p.q[g]);
        lo = _mm256_add_epi16(lo, _mm256_mullo_epi16(slo, q));
        hi = _mm256_add_epi16(hi, _mm256_mullo_epi16(shi, q));
    }
    // packus works within 128-bit lanes; the permute puts the bytes in order.
    const __m256i packed = _mm256_packus_epi16(finish16(lo), finish16(hi));
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(dst + x),
                        _mm256_permute4x64_epi64(packed, 0xD8));
}

__attribute__((target("avx2"))) void rowAvx2(const uint8_t* src, uint8_t* dst, int x0, int x1,
                                             const Plan& p)
{
    if (x1 - x0 < 32) {
        rowScalar(src, dst, x0, x1, p);
        return;
    }
    int x = x0;
    for (; x + 32 <= x1; x += 32)
        block32(src, dst, x, p);
    // The last block overlaps the previous one; src and dst are separate
    // blocks, so recomputing a few pixels gives the same bytes.
    if (x < x1)
        block32(src, dst, x1 - 32, p);
}

bool cpuHasAvx2()
{
    static const bool has = __builtin_cpu_supports("avx2");
    return has;
}
#endif

std::atomic<bool> vectorised{true};

using RowFunction = void (*)(const uint8_t*, uint8_t*, int, int, const Plan&);

RowFunction rowFunction()
{
#ifdef ZOR_SHARPEN_X86
    if (vectorised.load(std::memory_order_relaxed) && cpuHasAvx2())
        return rowAvx2;
#endif
    return rowScalar;
}

// The pixel-by-pixel float loop, for kernels outside the integer path.
void rowFloat(const uint8_t* block, uint8_t* dst, std::size_t stride, int y, int w,
              const SharpenKernel& k)
{
    const int n = k.n;
    for (int x = n; x < w - n; ++x) {
        float s = 0.0f;
        for (int i = -n; i <= n; ++i)
            for (int j = -n; j <= n; ++j)
                s += float(block[std::size_t(y - i) * stride + std::size_t(x - j)]) * k.at(i, j);
        if (s < -0.5f)
            dst[x] = 0;
        else if (s >= 255.5f)
            dst[x] = 255;
        else
            dst[x] = uint8_t(std::nearbyint(s));
    }
}

void band(const uint8_t* src, uint8_t* dst, std::size_t stride, int w, int y0, int y1,
          const SharpenKernel& k, const Plan* plan)
{
    const int n = k.n;
    const RowFunction row = rowFunction();
    const std::size_t nb = std::size_t(n);
    for (int y = y0; y < y1; ++y) {
        const uint8_t* s = src + std::size_t(y) * stride;
        uint8_t* d = dst + std::size_t(y) * stride;
        std::memcpy(d, s, nb);
        std::memcpy(d + (w - n), s + (w - n), nb);
        if (plan)
            row(s, d, n, w - n, *plan);
        else
            rowFloat(src, d, stride, y, w, k);
    }
}

} // namespace

void setVectorised(bool on)
{
    vectorised.store(on, std::memory_order_relaxed);
}

int defaultThreads(std::size_t pixelCount)
{
    // Below about a megapixel a second thread costs more than it saves.
    if (pixelCount < (std::size_t(1) << 20))
        return 1;
    return std::thread::hardware_concurrency() >= 2 ? 2 : 1;
}

bool isExactInInt16(const SharpenKernel& k)
{
    Plan plan;
    return makePlan(k, 64, plan);
}

void convolve(const uint8_t* src, uint8_t* dst, std::size_t stride, int w, int h,
              const SharpenKernel& k, int threads)
{
    // Only 3 x 3 and 5 x 5 matrices exist; anything else leaves the image as it is.
    const int n = (k.n == 1 || k.n == 2) ? k.n : 0;
    const std::size_t width = std::size_t(std::max(w, 0));
    // Border rows, and padding everywhere.
    for (int y = 0; y < h; ++y) {
        uint8_t* d = dst + std::size_t(y) * stride;
        std::memset(d + width, 0, stride - width);
        if (n == 0 || y < n || y >= h - n || w < 2 * n + 1)
            std::memcpy(d, src + std::size_t(y) * stride, width);
    }
    if (n == 0 || w < 2 * n + 1 || h < 2 * n + 1)
        return;
    Plan plan;
    const Plan* p = makePlan(k, stride, plan) ? &plan : nullptr;
    const int y0 = n;
    const int y1 = h - n;
    if (threads < 2 || y1 - y0 < 64) {
        band(src, dst, stride, w, y0, y1, k, p);
        return;
    }
    const int mid = y0 + (y1 - y0) / 2;
    std::thread other(band, src, dst, stride, w, mid, y1, std::cref(k), p);
    band(src, dst, stride, w, y0, mid, k, p);
    other.join();
}

} // namespace Sharpen
