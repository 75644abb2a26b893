#include "image/Sharpen.h"

#include "image/SharpenAvx2.h"
#include "image/SharpenPlan.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstring>
#include <exception>
#include <system_error>
#include <thread>

namespace Sharpen {

namespace {

std::atomic<bool> vectorised{true};

// The pixel-by-pixel float loop, for matrices off the integer path.
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

// Interior rows [y0, y1): the n border columns copied, the rest convolved.
void band(const uint8_t* src, uint8_t* dst, std::size_t stride, int w, int y0, int y1,
          const SharpenKernel& k, const SharpenPlan* plan)
{
    const int n = k.n;
    for (int y = y0; y < y1; ++y) {
        const uint8_t* s = src + std::size_t(y) * stride;
        uint8_t* d = dst + std::size_t(y) * stride;
        std::memcpy(d, s, std::size_t(n));
        std::memcpy(d + (w - n), s + (w - n), std::size_t(n));
    }
    if (!plan) {
        for (int y = y0; y < y1; ++y)
            rowFloat(src, dst + std::size_t(y) * stride, stride, y, w, k);
    } else if (vectorised.load(std::memory_order_relaxed) && SharpenAvx2::available()) {
        SharpenAvx2::band(src, dst, stride, w, y0, y1, *plan);
    } else {
        for (int y = y0; y < y1; ++y)
            SharpenRound::rowScalar(src + std::size_t(y) * stride, stride,
                                    dst + std::size_t(y) * stride, n, w - n, *plan);
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
    SharpenPlan plan;
    return SharpenPlan::make(k, plan);
}

void convolve(const uint8_t* src, uint8_t* dst, std::size_t stride, int w, int h,
              const SharpenKernel& k, int threads)
{
    // Only 3 x 3 and 5 x 5 matrices exist; anything else leaves the image as it is.
    const int n = (k.n == 1 || k.n == 2) ? k.n : 0;
    const std::size_t width = std::size_t(std::max(w, 0));
    const bool interior = n > 0 && w >= 2 * n + 1 && h >= 2 * n + 1;
    // Border rows, and padding everywhere.
    for (int y = 0; y < h; ++y) {
        uint8_t* d = dst + std::size_t(y) * stride;
        std::memset(d + width, 0, stride - width);
        if (!interior || y < n || y >= h - n)
            std::memcpy(d, src + std::size_t(y) * stride, width);
    }
    if (!interior)
        return;
    SharpenPlan plan;
    const SharpenPlan* p = SharpenPlan::make(k, plan) ? &plan : nullptr;
    const int y0 = n;
    const int y1 = h - n;
    if (threads < 2 || y1 - y0 < 64) {
        band(src, dst, stride, w, y0, y1, k, p);
        return;
    }
    const int mid = y0 + (y1 - y0) / 2;
    // A failure in the helper thread is handed back and thrown here.
    std::exception_ptr failed;
    std::thread other;
    try {
        other = std::thread([&] {
            try {
                band(src, dst, stride, w, mid, y1, k, p);
            } catch (...) {
                failed = std::current_exception();
            }
        });
    } catch (const std::system_error&) {
        // No thread to be had: this one does both bands.
        band(src, dst, stride, w, mid, y1, k, p);
    }
    try {
        band(src, dst, stride, w, y0, mid, k, p);
    } catch (...) {
        if (other.joinable())
            other.join();
        throw;
    }
    if (other.joinable())
        other.join();
    if (failed)
        std::rethrow_exception(failed);
}

} // namespace Sharpen
