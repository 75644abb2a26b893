// Image tools on a 4096 x 5120 radiograph: sharpening against one plain copy
// of the pixels (the memory-bound floor), a brightness step against a full
// pass over the pixels, and the memory an image with its undo copy holds.

#include "image/CBitmap.h"
#include "image/Sharpen.h"

#include <QImage>

#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <malloc.h>
#include <map>
#include <new>
#include <random>
#include <string>
#include <vector>

#ifdef ZOR_HAVE_OPENCV
#include <opencv2/imgproc.hpp>
#define ZOR_BENCH_OPENCV 1
#endif

// ---- heap accounting: every operator new of the process ----

namespace {
std::size_t heapNow = 0;
std::size_t heapPeak = 0;

void* counted(std::size_t n)
{
    void* p = std::malloc(n ? n : 1);
    if (!p)
        throw std::bad_alloc();
    heapNow += malloc_usable_size(p);
    if (heapNow > heapPeak)
        heapPeak = heapNow;
    return p;
}

void uncounted(void* p)
{
    if (!p)
        return;
    heapNow -= malloc_usable_size(p);
    std::free(p);
}
} // namespace

void* operator new(std::size_t n)
{
    return counted(n);
}
void* operator new[](std::size_t n)
{
    return counted(n);
}
void operator delete(void* p) noexcept
{
    uncounted(p);
}
void operator delete[](void* p) noexcept
{
    uncounted(p);
}
void operator delete(void* p, std::size_t) noexcept
{
    uncounted(p);
}
void operator delete[](void* p, std::size_t) noexcept
{
    uncounted(p);
}

namespace {

constexpr int kW = 4096;
constexpr int kH = 5120;

// A decoded picture as the window gets it: 32-bit pixels, grey noise over
// smooth gradients, so that the filters clamp somewhere and not everywhere.
const QImage& picture()
{
    static const QImage img = [] {
        QImage p(kW, kH, QImage::Format_RGB32);
        std::mt19937 gen(1);
        std::uniform_int_distribution<int> noise(-20, 20);
        for (int y = 0; y < kH; ++y) {
            auto* row = reinterpret_cast<QRgb*>(p.scanLine(y));
            for (int x = 0; x < kW; ++x) {
                const int v = std::clamp((x / 16 + y / 20) % 256 + noise(gen), 0, 255);
                row[x] = qRgb(v, v, v);
            }
        }
        return p;
    }();
    return img;
}

CBitmap& bitmap()
{
    static CBitmap bm = [] {
        CBitmap b;
        const QImage& p = picture();
        b.initFromRgb32(reinterpret_cast<const uint32_t*>(p.constBits()), kW, kH,
                        std::size_t(p.bytesPerLine()));
        return b;
    }();
    return bm;
}

std::size_t blockBytes()
{
    return bitmap().bytesPerLine() * std::size_t(kH);
}

void BM_PlainCopy(benchmark::State& state)
{
    std::vector<uint8_t> dst(blockBytes(), 1);
    const uint8_t* src = bitmap().bits();
    for (auto _ : state) {
        std::memcpy(dst.data(), src, dst.size());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(dst.size()));
}

void BM_Filter(benchmark::State& state)
{
    const SharpenKernel k = Global::GetSharpenKernel(int16_t(state.range(0)));
    CBitmap& bm = bitmap();
    for (auto _ : state) {
        bm.Filter(k);
        benchmark::ClobberMemory();
    }
    bm.UndoFilter();
}

// The same convolution on one core, to show what the second one adds.
void BM_FilterOneThread(benchmark::State& state)
{
    const SharpenKernel k = Global::GetSharpenKernel(int16_t(state.range(0)));
    const CBitmap& bm = bitmap();
    std::vector<uint8_t> dst(blockBytes());
    for (auto _ : state) {
        Sharpen::convolve(bm.bits(), dst.data(), bm.bytesPerLine(), kW, kH, k, 1);
        benchmark::ClobberMemory();
    }
}

#ifdef ZOR_BENCH_OPENCV
void BM_OpenCvFilter2D(benchmark::State& state)
{
    const SharpenKernel k = Global::GetSharpenKernel(int16_t(state.range(0)));
    const CBitmap& bm = bitmap();
    cv::Mat src(kH, kW, CV_8UC1, const_cast<uint8_t*>(bm.bits()), bm.bytesPerLine());
    cv::Mat kernel(k.side(), k.side(), CV_32F, const_cast<float*>(k.w.data()));
    cv::Mat dst;
    for (auto _ : state) {
        cv::filter2D(src, dst, -1, kernel, cv::Point(-1, -1), 0, cv::BORDER_REPLICATE);
        benchmark::ClobberMemory();
    }
}
#endif

// A brightness step: the table rebuilt, then what the view does before it
// paints: a QImage over the same bytes with the new table.
void BM_BrightnessStep(benchmark::State& state)
{
    CBitmap& bm = bitmap();
    int step = 0;
    bool sameBytes = true;
    for (auto _ : state) {
        bm.ColorOffset = int16_t(step++ % 200 - 100);
        bm.CreateColors();
        QImage shown(bm.bits(), bm.W(), bm.H(), qsizetype(bm.bytesPerLine()),
                     QImage::Format_Indexed8);
        shown.setColorTable(QList<QRgb>(bm.colorTable().begin(), bm.colorTable().end()));
        sameBytes = sameBytes && shown.constBits() == bm.bits();
        benchmark::DoNotOptimize(shown);
    }
    bm.Reset();
    state.counters["pixels_not_copied"] = sameBytes ? 1 : 0;
}

// What a brightness change would cost if it had to touch every pixel.
void BM_FullPassThroughTable(benchmark::State& state)
{
    const CBitmap& bm = bitmap();
    std::vector<uint8_t> dst(blockBytes());
    for (auto _ : state) {
        bm.renderShown(dst.data(), bm.bytesPerLine());
        benchmark::ClobberMemory();
    }
}

BENCHMARK(BM_PlainCopy)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Filter)->Arg(1)->Arg(2)->Arg(3)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_FilterOneThread)->Arg(1)->Arg(2)->Arg(3)->Unit(benchmark::kMillisecond)->UseRealTime();
#ifdef ZOR_BENCH_OPENCV
BENCHMARK(BM_OpenCvFilter2D)->Arg(1)->Arg(2)->Arg(3)->Unit(benchmark::kMillisecond)->UseRealTime();
#endif
BENCHMARK(BM_BrightnessStep)->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK(BM_FullPassThroughTable)->Unit(benchmark::kMillisecond)->UseRealTime();

// Keeps every run's time so that main can print the ratios.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    std::map<std::string, double> seconds;
    std::map<std::string, double> cpuSeconds;

    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& r : runs)
            if (r.run_type == Run::RT_Iteration && r.iterations > 0) {
                const std::string name = r.run_name.function_name +
                                         (r.run_name.args.empty() ? "" : "/" + r.run_name.args);
                seconds[name] = r.real_accumulated_time / double(r.iterations);
                cpuSeconds[name] = r.cpu_accumulated_time / double(r.iterations);
            }
        ConsoleReporter::ReportRuns(runs);
    }
};

// Peak heap while an image is loaded, sharpened (so that its undo copy
// exists), undone and shown through a QImage, beyond the decoded picture.
double peakBytesPerPixel()
{
    const QImage& p = picture(); // the decoded picture: not counted
    const std::size_t before = heapNow;
    heapPeak = heapNow;
    {
        CBitmap bm;
        bm.initFromRgb32(reinterpret_cast<const uint32_t*>(p.constBits()), kW, kH,
                         std::size_t(p.bytesPerLine()));
        bm.Filter(Global::GetSharpenKernel(3));
        bm.Filter(Global::GetSharpenKernel(1));
        bm.UndoFilter();
        bm.Invert();
        QImage shown(bm.bits(), bm.W(), bm.H(), qsizetype(bm.bytesPerLine()),
                     QImage::Format_Indexed8);
        shown.setColorTable(QList<QRgb>(bm.colorTable().begin(), bm.colorTable().end()));
        benchmark::DoNotOptimize(shown);
    }
    return double(heapPeak - before) / (double(kW) * kH);
}

void printRatio(const RatioReporter& rep, const std::string& name, const std::string& ref,
                const char* target)
{
    const auto a = rep.seconds.find(name);
    const auto b = rep.seconds.find(ref);
    if (a == rep.seconds.end() || b == rep.seconds.end())
        return;
    std::printf("  %-26s %9.3f ms = %8.4f x %s  (target: %s)\n", name.c_str(), a->second * 1e3,
                a->second / b->second, ref.c_str(), target);
}

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    picture();
    bitmap();
    RatioReporter rep;
    benchmark::RunSpecifiedBenchmarks(&rep);

    std::printf("\nImage tools on %d x %d, %s:\n", kW, kH,
                Sharpen::defaultThreads(std::size_t(kW) * kH) > 1 ? "2 threads" : "1 thread");
    printRatio(rep, "BM_Filter/1", "BM_PlainCopy", "< 2");
    printRatio(rep, "BM_Filter/2", "BM_PlainCopy", "< 2");
    printRatio(rep, "BM_Filter/3", "BM_PlainCopy", "< 3");
    // On a busy machine the wall-clock ratios of two threads suffer first;
    // the processor time of one thread against the copy's shows the code.
    for (const char* s : {"1", "2", "3"}) {
        const std::string name = std::string("BM_FilterOneThread/") + s;
        const auto a = rep.cpuSeconds.find(name);
        const auto b = rep.cpuSeconds.find("BM_PlainCopy");
        if (a != rep.cpuSeconds.end() && b != rep.cpuSeconds.end())
            std::printf("  %-26s %9.3f ms = %8.4f x BM_PlainCopy, processor time of one thread\n",
                        name.c_str(), a->second * 1e3, a->second / b->second);
    }
#ifdef ZOR_BENCH_OPENCV
    for (const char* s : {"1", "2", "3"})
        printRatio(rep, std::string("BM_Filter/") + s, std::string("BM_OpenCvFilter2D/") + s,
                   "< 1");
#else
    std::printf("  OpenCV filter2D: skipped (OpenCV is not installed)\n");
#endif
    printRatio(rep, "BM_BrightnessStep", "BM_PlainCopy", "< 0.01");
    printRatio(rep, "BM_BrightnessStep", "BM_FullPassThroughTable", "< 0.01");
    std::printf("  peak memory beyond the decoded picture: %.3f bytes/pixel (target: < 2.5)\n",
                peakBytesPerPixel());
    benchmark::Shutdown();
    return 0;
}
