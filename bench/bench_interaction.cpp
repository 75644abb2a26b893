// The cost of one pointer move while a trochanter line is dragged, against
// one full repaint of the picture in the same run. The move draws the line
// twice in XOR and nothing else, so its cost must not follow the image size;
// the repaint is the reference it is reported against.
#include "interaction/ToolController.h"
#include "model/CZor.h"
#include "platform/ToolHost.h"
#include "platform/UserMessages.h"
#include "shell/PictureView.h"

#include <QApplication>

#include <array>
#include <benchmark/benchmark.h>
#include <cstdint>
#include <ctime>
#include <vector>

namespace {

constexpr int kViewWidth = 1280;
constexpr int kViewHeight = 960;

// The window's part: repaints go to the view's full repaint.
class ViewHost : public ToolHost {
public:
    explicit ViewHost(PictureView& view, int w, int h) : view_(view), w_(w), h_(h) {}
    void setStatusText(const std::string&) override {}
    void setPointerShape(PointerShape) override {}
    void zoomAt(float, float) override {}
    void repaint() override { view_.render(); }
    float askCalibrationDistance(double) override { return 0; }
    int imageWidth() const override { return w_; }
    int imageHeight() const override { return h_; }
    void openPatientDialog(int) override {}

private:
    PictureView& view_;
    int w_;
    int h_;
};

// A case on an image of w x h pixels with the stem axis, the shoulder point
// and the proposed lines in the shown part, as after "Sh&oulder Point".
struct Scene {
    Scene(int w, int h) : pixels(std::size_t(w) * std::size_t(h)), host(view, w, h)
    {
        for (std::size_t i = 0; i < pixels.size(); ++i)
            pixels[i] = static_cast<uint8_t>((i * 2654435761U) >> 24);
        for (int i = 0; i < 256; ++i)
            table[std::size_t(i)] = 0xFF000000U | uint32_t(i) * 0x010101U;
        view.resize(kViewWidth, kViewHeight);
        view.show();
        QApplication::processEvents();
        view.setPixelMode();
        view.setImage({pixels.data(), std::size_t(w), w, h, &table});
        view.setOverlay(
            [this] { zor.draw(view, ToolController::drawColor1, ToolController::drawColor2); });
        zor.Visible = true;
        zor.initScale(static_cast<int16_t>(w), static_cast<int16_t>(h), 430.0);
        tools.m_StemAxis();
        drag(400, 900, 420, 100);
        drag(600, 900, 580, 100);
        tools.m_Shoulder();
        drag(550, 300, 550, 300);
    }

    void drag(float x0, float y0, float x1, float y1)
    {
        tools.MouseDown(ToolController::LeftButton, x0, y0);
        tools.MouseMove(ToolController::LeftButton, x1, y1);
        tools.MouseUp(ToolController::LeftButton, x1, y1);
    }

    std::vector<uint8_t> pixels;
    std::array<uint32_t, 256> table{};
    PictureView view;
    CZor zor;
    ViewHost host;
    StderrMessages messages;
    ToolController tools{zor, host, view, messages};
};

// CPU time of this thread: the machine is shared, and wall time would mostly
// measure the other processes.
double threadNanoseconds()
{
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return double(ts.tv_sec) * 1e9 + double(ts.tv_nsec);
}

double nanosecondsPerRepaint(Scene& scene, int count)
{
    double start = threadNanoseconds();
    for (int i = 0; i < count; ++i)
        scene.view.render();
    return (threadNanoseconds() - start) / count;
}

void BM_MoveWhileDraggingTrochanterLine(benchmark::State& state)
{
    Scene scene(int(state.range(0)), int(state.range(1)));
    double repaintNs = nanosecondsPerRepaint(scene, 20);

    // Grab the major trochanter line (proposed around the shoulder) and drag.
    const CLine& gt = scene.zor.GTLine;
    auto gx = static_cast<float>((gt.P0.x + gt.P1.x) / 2);
    auto gy = static_cast<float>((gt.P0.y + gt.P1.y) / 2);
    scene.tools.MouseDown(ToolController::LeftButton, gx, gy);
    if (scene.tools.mode() != ToolMode::GTLine) {
        state.SkipWithError("the press did not grab the major trochanter line");
        return;
    }
    long moves = 0;
    double start = threadNanoseconds();
    for (auto _ : state) {
        float dy = (moves % 2 == 0) ? 7.0F : -7.0F;
        scene.tools.MouseMove(ToolController::LeftButton, gx + 3.0F, gy + dy);
        ++moves;
    }
    double moveNs = (threadNanoseconds() - start) / double(moves);
    scene.tools.MouseUp(ToolController::LeftButton, gx, gy);

    state.counters["move_ns"] = moveNs;
    state.counters["repaint_ns"] = repaintNs;
    state.counters["move_per_repaint"] = moveNs / repaintNs;
}

BENCHMARK(BM_MoveWhileDraggingTrochanterLine)
    ->Args({1024, 1280})
    ->Args({4096, 5120})
    ->Unit(benchmark::kMicrosecond)
    ->MeasureProcessCPUTime();

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
