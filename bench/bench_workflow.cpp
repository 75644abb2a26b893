// The workflow's costs as ratios within one run: a pointer move over a
// 1600 x 1000 picture with the loupe on against the same move without it,
// on a 4096 x 5120 and a 1024 x 1280 film (the loupe draws only its own
// square, so the ratio must not grow with the film); and the results panel's
// recomputation after a landmark change against one full repaint.

#include "RatioReporter.h"
#include "model/CZor.h"
#include "shell/CaseWorkflow.h"
#include "shell/MainForm.h"
#include "shell/PictureView.h"
#include "shell/ResultsPanel.h"

#include <QAction>
#include <QApplication>
#include <QImage>
#include <QMouseEvent>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>
#include <cstdio>
#include <map>
#include <memory>
#include <string>

namespace {

constexpr int kViewW = 1600;
constexpr int kViewH = 1000;

QTemporaryDir& folder()
{
    static QTemporaryDir dir;
    return dir;
}

// The windows, one per film size; closed before the application ends.
std::map<int, std::unique_ptr<MainForm>>& windows()
{
    static std::map<int, std::unique_ptr<MainForm>> open;
    return open;
}

// A window whose picture area is kViewW x kViewH with a w x h film open and
// a whole case on it, one per film size.
MainForm& window(int w, int h)
{
    auto& slot = windows()[w];
    if (slot)
        return *slot;
    const QString path = folder().filePath(QString("film%1.bmp").arg(w));
    QImage img(w, h, QImage::Format_Grayscale8);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            img.scanLine(y)[x] = uchar((x / 16 + y / 20) % 256);
    img.save(path);
    MainForm::Services services;
    services.dialogs.splashOnce = [](MainForm&) {};
    slot = std::make_unique<MainForm>(services);
    MainForm& win = *slot;
    win.resize(kViewW + 600, kViewH + 120);
    win.show();
    for (int i = 0; i < 3; ++i) {
        QApplication::processEvents();
        const QSize have = win.PicBox()->size();
        win.resize(win.size() + QSize(kViewW - have.width(), kViewH - have.height()));
    }
    QApplication::processEvents();
    win.OpenImage(path);
    CZor& z = *win.zor();
    const double s = w / 4096.0;
    z.head.M.change(1500 * s, 1200 * s);
    z.head.R = 120 * s;
    z.head.Valid = true;
    z.Patient.HeadTR = 14;
    z.AxisLine.init(2000 * s, h, 2100 * s, 0);
    z.AxisLine.Valid = true;
    z.LinesVisible = true;
    z.GTLine.init(1700 * s, 1500 * s, 2400 * s, 1500 * s);
    z.TipLine.init(1700 * s, 3800 * s, 2400 * s, 3800 * s);
    z.LTLine1.init(1700 * s, 1800 * s, 2400 * s, 2300 * s);
    z.LTLine2.init(1700 * s, 2300 * s, 2400 * s, 1800 * s);
    for (int16_t i = 0; i < 8; ++i)
        z.points(i).change((i % 2 ? 2300 : 1800) * s, (2000 + 300 * (i / 2)) * s);
    z.PointsValid = true;
    win.repaintPicture();
    return win;
}

void move(MainForm& w, int i)
{
    const QPointF pos(400 + (i & 63), 300 + (i & 31));
    QMouseEvent e(QEvent::MouseMove, pos, w.PicBox()->mapToGlobal(pos), Qt::NoButton, Qt::NoButton,
                  Qt::NoModifier);
    QApplication::sendEvent(w.PicBox(), &e);
}

void BM_PointerMove(benchmark::State& state)
{
    const int w = int(state.range(0));
    MainForm& win = window(w, w * 5 / 4);
    const bool loupe = state.range(1) != 0;
    if (win.action("m_Loupe")->isChecked() != loupe)
        win.action("m_Loupe")->trigger();
    int i = 0;
    for (auto _ : state)
        move(win, i++);
}
BENCHMARK(BM_PointerMove)
    ->Args({4096, 0})
    ->Args({4096, 1})
    ->Args({1024, 0})
    ->Args({1024, 1})
    ->Unit(benchmark::kMicrosecond);

void BM_ResultsRecompute(benchmark::State& state)
{
    MainForm& win = window(4096, 5120);
    CZor& z = *win.zor();
    ResultsPanel& panel = *win.workflow().results();
    int i = 0;
    for (auto _ : state) {
        z.points(0).change(1800 + (i++ & 7), 2000);
        panel.showCase(z);
    }
}
BENCHMARK(BM_ResultsRecompute)->Unit(benchmark::kMicrosecond);

void BM_FullRepaint(benchmark::State& state)
{
    MainForm& win = window(4096, 5120);
    for (auto _ : state)
        win.repaintPicture();
}
BENCHMARK(BM_FullRepaint)->Unit(benchmark::kMicrosecond);

void printRatio(const RatioReporter& rep, const std::string& name, const std::string& ref)
{
    const auto a = rep.find(name);
    const auto b = rep.find(ref);
    if (!a || !b)
        return;
    std::printf("  %-30s %9.1f us = %7.2f x %s\n", name.c_str(), a->real * 1e6, a->real / b->real,
                ref.c_str());
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    // Opening remembers the path in Zor2.ini; keep the user's own file out of it.
    qputenv("XDG_CONFIG_HOME", folder().path().toLocal8Bit());
    benchmark::Initialize(&argc, argv);
    RatioReporter rep;
    benchmark::RunSpecifiedBenchmarks(&rep);
    std::printf("\nPointer move over a %d x %d view, loupe on against off:\n", kViewW, kViewH);
    printRatio(rep, "BM_PointerMove/4096/1", "BM_PointerMove/4096/0");
    printRatio(rep, "BM_PointerMove/1024/1", "BM_PointerMove/1024/0");
    printRatio(rep, "BM_PointerMove/4096/1", "BM_FullRepaint");
    std::printf("Results panel after a landmark change, against one full repaint:\n");
    printRatio(rep, "BM_ResultsRecompute", "BM_FullRepaint");
    std::fflush(stdout);
    windows().clear();
    benchmark::Shutdown();
    return 0;
}
