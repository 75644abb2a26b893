#include "image/SharpenAvx2.h"

#if defined(__x86_64__) || defined(__i386__)

#include <immintrin.h>
#include <memory>

namespace SharpenAvx2 {

namespace {

using Shape = SharpenPlan::Shape;

// 32 pixels as 16-bit lanes. Unpacking bytes with zero works within each
// 128-bit half, so the lanes are in a shuffled but fixed order; every operand
// is shuffled alike, and the final pack restores the order.
struct Px32 {
    __m256i lo, hi;
};

__attribute__((target("avx2"))) inline Px32 ld(const uint8_t* p)
{
    const __m256i v = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p));
    const __m256i z = _mm256_setzero_si256();
    return {_mm256_unpacklo_epi8(v, z), _mm256_unpackhi_epi8(v, z)};
}

__attribute__((target("avx2"))) inline Px32 operator+(Px32 a, Px32 b)
{
    return {_mm256_add_epi16(a.lo, b.lo), _mm256_add_epi16(a.hi, b.hi)};
}

__attribute__((target("avx2"))) inline Px32 operator-(Px32 a, Px32 b)
{
    return {_mm256_sub_epi16(a.lo, b.lo), _mm256_sub_epi16(a.hi, b.hi)};
}

template <int Bits> __attribute__((target("avx2"))) inline Px32 shl(Px32 a)
{
    return {_mm256_slli_epi16(a.lo, Bits), _mm256_slli_epi16(a.hi, Bits)};
}

// round-half-to-even(s / 4) for 16 lanes.
__attribute__((target("avx2"))) inline __m256i quarter(__m256i s)
{
    const __m256i one = _mm256_set1_epi16(1);
    const __m256i odd = _mm256_and_si256(_mm256_srai_epi16(s, 2), one);
    return _mm256_srai_epi16(_mm256_add_epi16(_mm256_add_epi16(s, one), odd), 2);
}

// Strengths 2 and 3 have whole weights: their sums need no rounding.
template <Shape S> constexpr bool wholeWeights = S == Shape::Strength2 || S == Shape::Strength3;

// The weighted sum of the 32 pixels from q on (q = the source position of
// the first output pixel): the sum itself for whole weights, else 4 x the
// sum. Both are exact.
template <Shape S>
__attribute__((target("avx2"))) inline Px32 sum(const uint8_t* q, std::ptrdiff_t s)
{
    if constexpr (S == Shape::Strength1) {
        // 4 x (2 c - (up + down + left + right) / 4)
        const Px32 cross = (ld(q - s) + ld(q + s)) + (ld(q - 1) + ld(q + 1));
        return shl<3>(ld(q)) - cross;
    } else if constexpr (S == Shape::Strength2) {
        // 5 c - (up + down + left + right)
        const Px32 c = ld(q);
        const Px32 cross = (ld(q - s) + ld(q + s)) + (ld(q - 1) + ld(q + 1));
        return (shl<2>(c) + c) - cross;
    } else {
        // 5 c + the 4 neighbours - the 8 pixels two steps away
        const Px32 c = ld(q);
        const Px32 near = (ld(q - s) + ld(q + s)) + (ld(q - 1) + ld(q + 1));
        const Px32 far = ((ld(q - 2 * s - 2) + ld(q - 2 * s)) + (ld(q - 2 * s + 2) + ld(q - 2))) +
                         ((ld(q + 2) + ld(q + 2 * s - 2)) + (ld(q + 2 * s) + ld(q + 2 * s + 2)));
        return ((shl<2>(c) + c) + near) - far;
    }
}

template <Shape S>
__attribute__((target("avx2"))) inline void store32(const uint8_t* q, std::ptrdiff_t s, uint8_t* d)
{
    Px32 v = sum<S>(q, s);
    if constexpr (!wholeWeights<S>)
        v = {quarter(v.lo), quarter(v.hi)};
    // The pack saturates to 0..255: the clamps at -0.5 and 255.5.
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(d), _mm256_packus_epi16(v.lo, v.hi));
}

template <Shape S>
__attribute__((target("avx2"))) void bandOf(const uint8_t* src, uint8_t* dst, std::size_t stride,
                                            int w, int y0, int y1, const SharpenPlan& p)
{
    const int x0 = p.n;
    const int x1 = w - p.n;
    const auto s = std::ptrdiff_t(stride);
    for (int y = y0; y < y1; ++y) {
        const uint8_t* row = src + std::size_t(y) * stride;
        uint8_t* d = dst + std::size_t(y) * stride;
        if (x1 - x0 < 32) {
            SharpenRound::rowScalar(row, stride, d, x0, x1, p);
            continue;
        }
        int x = x0;
        for (; x + 32 <= x1; x += 32)
            store32<S>(row + x, s, d + x);
        // The last block overlaps the one before; recomputing a few pixels
        // from the unchanged source gives the same bytes.
        if (x < x1)
            store32<S>(row + (x1 - 32), s, d + (x1 - 32));
    }
}

// Strength 3 reads, in rows y - 2 and y + 2, the three pixels x - 2, x and
// x + 2. Their sum h is worked out once per source row, kept for the five
// rows in reach, and read back by the two output rows that need it. Blocks
// are laid out by output block, so the lane order of the unpack is kept.
__attribute__((target("avx2"))) inline void storePx(int16_t* at, Px32 v)
{
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(at), v.lo);
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(at + 16), v.hi);
}

__attribute__((target("avx2"))) inline Px32 loadPx(const int16_t* at)
{
    return {_mm256_loadu_si256(reinterpret_cast<const __m256i*>(at)),
            _mm256_loadu_si256(reinterpret_cast<const __m256i*>(at + 16))};
}

// h of one source row, for every block.
__attribute__((target("avx2"))) void fillThrees(const uint8_t* r, int16_t* h, const int* starts,
                                                int blocks)
{
    for (int b = 0; b < blocks; ++b) {
        const uint8_t* q = r + starts[b];
        storePx(h + std::size_t(b) * 32, (ld(q - 2) + ld(q)) + ld(q + 2));
    }
}

__attribute__((target("avx2"))) void bandStrength3(const uint8_t* src, uint8_t* dst,
                                                   std::size_t stride, int w, int y0, int y1,
                                                   const SharpenPlan& p)
{
    const int x0 = 2;
    const int x1 = w - 2;
    if (x1 - x0 < 32)
        return bandOf<Shape::Strength3>(src, dst, stride, w, y0, y1, p);
    // Block starts: every 32 columns, the last one overlapping its neighbour.
    const int full = (x1 - x0) / 32;
    const int blocks = full + ((x1 - x0) % 32 != 0);
    std::unique_ptr<int[]> starts(new int[std::size_t(blocks)]);
    for (int b = 0; b < blocks; ++b)
        starts[b] = b < full ? x0 + 32 * b : x1 - 32;
    const std::size_t rowLen = std::size_t(blocks) * 32;
    std::unique_ptr<int16_t[]> ring(new int16_t[rowLen * 5]);
    int16_t* const base = ring.get();
    const auto s = std::ptrdiff_t(stride);
    for (int row = y0 - 2; row < y0 + 2; ++row)
        fillThrees(src + std::size_t(row) * stride, base + std::size_t(row % 5) * rowLen,
                   starts.get(), blocks);
    for (int y = y0; y < y1; ++y) {
        fillThrees(src + std::size_t(y + 2) * stride, base + std::size_t((y + 2) % 5) * rowLen,
                   starts.get(), blocks);
        const int16_t* above = base + std::size_t((y - 2) % 5) * rowLen;
        const int16_t* below = base + std::size_t((y + 2) % 5) * rowLen;
        const uint8_t* row = src + std::size_t(y) * stride;
        uint8_t* d = dst + std::size_t(y) * stride;
        for (int b = 0; b < blocks; ++b) {
            const int x = starts[b];
            const uint8_t* q = row + x;
            // 5 c + the 4 neighbours - the 8 pixels two steps away
            const Px32 c = ld(q);
            const Px32 near = (ld(q - s) + ld(q + s)) + (ld(q - 1) + ld(q + 1));
            const Px32 far =
                (loadPx(above + std::size_t(b) * 32) + loadPx(below + std::size_t(b) * 32)) +
                (ld(q - 2) + ld(q + 2));
            const Px32 v = ((shl<2>(c) + c) + near) - far;
            _mm256_storeu_si256(reinterpret_cast<__m256i*>(d + x), _mm256_packus_epi16(v.lo, v.hi));
        }
    }
}

} // namespace

bool available()
{
    static const bool has = __builtin_cpu_supports("avx2");
    return has;
}

void band(const uint8_t* src, uint8_t* dst, std::size_t stride, int w, int y0, int y1,
          const SharpenPlan& plan)
{
    switch (plan.shape) {
    case Shape::Strength1:
        return bandOf<Shape::Strength1>(src, dst, stride, w, y0, y1, plan);
    case Shape::Strength2:
        return bandOf<Shape::Strength2>(src, dst, stride, w, y0, y1, plan);
    case Shape::Strength3:
        return bandStrength3(src, dst, stride, w, y0, y1, plan);
    }
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
