#include "image/SharpenAvx2.h"

#if defined(__x86_64__) || defined(__i386__)

#include <immintrin.h>
#include <memory>

namespace SharpenAvx2 {

namespace {

using Shape = SharpenPlan::Shape;

// The 2n+1 source rows around the output row, widened to 16 bits: rows[k]
// is source row y - n + k, so tap (i, j) reads rows[n - i][x - j].
template <int N> struct Rows {
    const int16_t* r[2 * N + 1];
};

template <int N>
__attribute__((target("avx2"))) inline __m256i ld(const Rows<N>& rows, int i, int j, int x)
{
    return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(rows.r[N - i] + x - j));
}

__attribute__((target("avx2"))) inline __m256i at(const int16_t* p)
{
    return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p));
}

__attribute__((target("avx2"))) inline __m256i add(__m256i a, __m256i b)
{
    return _mm256_add_epi16(a, b);
}

// Strengths 2 and 3 have whole weights: their sums need no rounding.
template <Shape S> constexpr bool wholeWeights = S == Shape::Strength2 || S == Shape::Strength3;

// The weighted sum of 16 output pixels from column x on: the sum itself for
// whole weights, else 4 x the sum (exact either way). `t` is the column sum
// of rows -2, 0 and 2 for strength 3.
template <Shape S, int N>
__attribute__((target("avx2"))) inline __m256i sum(const Rows<N>& r, const int16_t* t, int x,
                                                   const SharpenPlan& p)
{
    if constexpr (S == Shape::Strength1) {
        // 4 x (2 c - (up + down + left + right) / 4)
        const __m256i cross =
            add(add(ld(r, -1, 0, x), ld(r, 1, 0, x)), add(ld(r, 0, -1, x), ld(r, 0, 1, x)));
        return _mm256_sub_epi16(_mm256_slli_epi16(ld(r, 0, 0, x), 3), cross);
    } else if constexpr (S == Shape::Strength2) {
        // 5 c - (up + down + left + right)
        const __m256i c = ld(r, 0, 0, x);
        const __m256i cross =
            add(add(ld(r, -1, 0, x), ld(r, 1, 0, x)), add(ld(r, 0, -1, x), ld(r, 0, 1, x)));
        return _mm256_sub_epi16(add(_mm256_slli_epi16(c, 2), c), cross);
    } else if constexpr (S == Shape::Strength3) {
        // 5 c + the 4 neighbours - the 8 pixels two steps away, where those 8
        // are t[x-2] + t[x] + t[x+2] - c: one load for three rows each.
        const __m256i c = ld(r, 0, 0, x);
        const __m256i near =
            add(add(ld(r, -1, 0, x), ld(r, 1, 0, x)), add(ld(r, 0, -1, x), ld(r, 0, 1, x)));
        const __m256i six = add(_mm256_slli_epi16(c, 2), _mm256_slli_epi16(c, 1));
        return _mm256_sub_epi16(add(six, near), add(add(at(t + x - 2), at(t + x)), at(t + x + 2)));
    } else {
        (void)t;
        __m256i total = _mm256_setzero_si256();
        int k = 0;
        for (int g = 0; g < p.groupCount; ++g) {
            __m256i s = _mm256_setzero_si256();
            for (; k < p.groupEnd[g]; ++k)
                s = add(s, ld(r, p.tapRow[k], p.tapCol[k], x));
            total = add(total, _mm256_mullo_epi16(s, _mm256_set1_epi16(p.q[g])));
        }
        return total;
    }
}

// The rounding (ties to even) and the clamp to 0..255, for 16 pixels.
template <Shape S, int N>
__attribute__((target("avx2"))) inline void store16(const Rows<N>& r, const int16_t* t,
                                                    uint8_t* dst, int x, const SharpenPlan& p)
{
    __m256i v = sum<S, N>(r, t, x, p);
    if constexpr (!wholeWeights<S>) {
        const __m256i one = _mm256_set1_epi16(1);
        const __m256i odd = _mm256_and_si256(_mm256_srai_epi16(v, 2), one);
        v = _mm256_srai_epi16(add(add(v, one), odd), 2);
    }
    const __m128i bytes =
        _mm_packus_epi16(_mm256_castsi256_si128(v), _mm256_extracti128_si256(v, 1));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + x), bytes);
}

// t[x] := a[x] + b[x] + c[x] for the w columns.
__attribute__((target("avx2"))) void columnSum(const int16_t* a, const int16_t* b, const int16_t* c,
                                               int16_t* t, int w)
{
    int x = 0;
    for (; x + 16 <= w; x += 16)
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(t + x),
                            add(add(at(a + x), at(b + x)), at(c + x)));
    for (; x < w; ++x)
        t[x] = int16_t(a[x] + b[x] + c[x]);
}

__attribute__((target("avx2"))) void widen(const uint8_t* src, int16_t* out, int w)
{
    int x = 0;
    for (; x + 16 <= w; x += 16)
        _mm256_storeu_si256(
            reinterpret_cast<__m256i*>(out + x),
            _mm256_cvtepu8_epi16(_mm_loadu_si128(reinterpret_cast<const __m128i*>(src + x))));
    for (; x < w; ++x)
        out[x] = src[x];
}

template <Shape S, int N>
__attribute__((target("avx2"))) void bandOf(const uint8_t* src, uint8_t* dst, std::size_t stride,
                                            int w, int y0, int y1, const SharpenPlan& p)
{
    constexpr int side = 2 * N + 1;
    const int x0 = N;
    const int x1 = w - N;
    if (x1 - x0 < 16) {
        for (int y = y0; y < y1; ++y)
            SharpenRound::rowScalar(src + std::size_t(y) * stride, stride,
                                    dst + std::size_t(y) * stride, x0, x1, p);
        return;
    }
    // Each source row is widened once into a ring of 2n+1 rows, so the taps
    // load 16-bit lanes directly instead of widening every tap again.
    const std::size_t rowLen = std::size_t(w);
    std::unique_ptr<int16_t[]> ring(new int16_t[rowLen * (side + 1)]);
    int16_t* t = ring.get() + rowLen * side;
    auto slot = [&](int row) { return ring.get() + std::size_t(row % side) * rowLen; };
    for (int row = y0 - N; row < y0 + N; ++row)
        widen(src + std::size_t(row) * stride, slot(row), w);
    for (int y = y0; y < y1; ++y) {
        widen(src + std::size_t(y + N) * stride, slot(y + N), w);
        Rows<N> r;
        for (int k = 0; k < side; ++k)
            r.r[k] = slot(y - N + k);
        if constexpr (S == Shape::Strength3)
            columnSum(r.r[0], r.r[2], r.r[4], t, w);
        uint8_t* d = dst + std::size_t(y) * stride;
        int x = x0;
        for (; x + 16 <= x1; x += 16)
            store16<S, N>(r, t, d, x, p);
        // The last block overlaps the one before; recomputing a few pixels
        // from the unchanged source gives the same bytes.
        if (x < x1)
            store16<S, N>(r, t, d, x1 - 16, p);
    }
}

} // namespace

bool available()
{
    static const bool has = __builtin_cpu_supports("avx2");
    return has;
}

namespace {

void dispatch(const uint8_t* src, uint8_t* dst, std::size_t stride, int w, int y0, int y1,
              const SharpenPlan& plan)
{
    switch (plan.shape) {
    case Shape::Strength1:
        return bandOf<Shape::Strength1, 1>(src, dst, stride, w, y0, y1, plan);
    case Shape::Strength2:
        return bandOf<Shape::Strength2, 1>(src, dst, stride, w, y0, y1, plan);
    case Shape::Strength3:
        return bandOf<Shape::Strength3, 2>(src, dst, stride, w, y0, y1, plan);
    case Shape::Other:
        break;
    }
    if (plan.n == 1)
        bandOf<Shape::Other, 1>(src, dst, stride, w, y0, y1, plan);
    else
        bandOf<Shape::Other, 2>(src, dst, stride, w, y0, y1, plan);
}

} // namespace

void band(const uint8_t* src, uint8_t* dst, std::size_t stride, int w, int y0, int y1,
          const SharpenPlan& plan)
{
    dispatch(src, dst, stride, w, y0, y1, plan);
}

} // namespace SharpenAvx2

#else

namespace SharpenAvx2 {

bool available()
{
    return false;
}

void band(const uint8_t* src, uint8_t* dst, std::size_t stride, int w, int y0, int y1,
          const SharpenPlan& plan)
{
    for (int y = y0; y < y1; ++y)
        SharpenRound::rowScalar(src + std::size_t(y) * stride, stride,
                                dst + std::size_t(y) * stride, plan.n, w - plan.n, plan);
}

} // namespace SharpenAvx2

#endif
