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

// Interior rows [y0, y1): the n border columns copied, the rest convolved.
void band(const uint8_t* src, uint8_t* dst, std::size_t stride, int w, int y0, int y1,
          const SharpenPlan& plan)
{
    const int n = plan.n;
    for (int y = y0; y < y1; ++y) {
        const uint8_t* s = src + std::size_t(y) * stride;
        uint8_t* d = dst + std::size_t(y) * stride;
        std::memcpy(d, s, std::size_t(n));
        std::memcpy(d + (w - n), s + (w - n), std::size_t(n));
    }
    if (vectorised.load(std::memory_order_relaxed) && SharpenAvx2::available()) {
        SharpenAvx2::band(src, dst, stride, w, y0, y1, plan);
    } else {
        for (int y = y0; y < y1; ++y)
            SharpenRound::rowScalar(src + std::size_t(y) * stride, stride,
                                    dst + std::size_t(y) * stride, n, w - n, plan);
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

void convolve(const uint8_t* src, uint8_t* dst, std::size_t stride, int w, int h,
              const SharpenKernel& k, int threads)
{
    // Only the three sharpening matrices exist; anything else leaves the
    // image as it is.
    SharpenPlan plan;
    const int n = SharpenPlan::make(k, plan) ? k.n : 0;
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
    const SharpenPlan& p = plan;
    const int y0 = n;
    const int y1 = h - n;
    if (threads < 2 || y1 - y0 < 64) {
        band(src, dst, stride, w, y0, y1, p);
        return;
    }
    const int mid = y0 + (y1 - y0) / 2;
    // A failure in the helper thread is handed back and thrown here.
    std::exception_ptr failed;
    std::thread other;
    try {
        other = std::thread([&] {
            try {
                band(src, dst, stride, w, mid, y1, p);
            } catch (...) {
                failed = std::current_exception();
            }
        });
    } catch (const std::system_error&) {
        // No thread to be had: this one does both bands.
        band(src, dst, stride, w, mid, y1, p);
    }
    try {
        band(src, dst, stride, w, y0, mid, p);
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
