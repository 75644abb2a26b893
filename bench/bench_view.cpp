// The picture view on a 4096 x 5120 radiograph: a full repaint of a
// 1600 x 1000 view at zoom 2, 1 and 0.5 against one fill of the backing image
// (the memory floor) and against Qt's own scaled drawImage of the same
// region; and the time from OpenImage to the first painted frame of a JPEG
// against decoding that JPEG alone.

#include "RatioReporter.h"
#include "model/CZor.h"
#include "platform/UserMessages.h"
#include "shell/MainForm.h"
#include "shell/PictureView.h"

#include <QApplication>
#include <QImage>
#include <QImageReader>
#include <QPainter>
#include <QScrollBar>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>
#include <cstdio>
#include <map>
#include <memory>
#include <random>
#include <string>

namespace {

constexpr int kW = 4096;
constexpr int kH = 5120;
constexpr int kViewW = 1600;
constexpr int kViewH = 1000;

struct Fixture {
    QTemporaryDir dir;
    QString jpeg;
    std::unique_ptr<MainForm> window;
};

Fixture& fixture()
{
    static Fixture f;
    return f;
}

// A grey film: smooth gradients with noise, so that the JPEG is not trivial.
QString writeFilm(const QString& path)
{
    QImage img(kW, kH, QImage::Format_Grayscale8);
    std::mt19937 gen(7);
    std::uniform_int_distribution<int> noise(-12, 12);
    for (int y = 0; y < kH; ++y) {
        uchar* row = img.scanLine(y);
        for (int x = 0; x < kW; ++x)
            row[x] = uchar(std::clamp((x / 16 + y / 20) % 256 + noise(gen), 0, 255));
    }
    img.save(path, "JPEG", 90);
    return path;
}

// A window whose picture area is exactly kViewW x kViewH, with the film open
// and a measurement drawn over it.
MainForm& window()
{
    Fixture& f = fixture();
    if (f.window)
        return *f.window;
    f.jpeg = writeFilm(f.dir.filePath("film.jpg"));
    f.window = std::make_unique<MainForm>();
    MainForm& w = *f.window;
    w.resize(kViewW + 40, kViewH + 80);
    w.show();
    for (int i = 0; i < 3; ++i) {
        QApplication::processEvents();
        const QSize have = w.PicBox()->size();
        w.resize(w.size() + QSize(kViewW - have.width(), kViewH - have.height()));
    }
    QApplication::processEvents();
    w.OpenImage(f.jpeg);
    CZor& z = *w.zor();
    z.head.M.change(1500, 1200);
    z.head.R = 120;
    z.head.Valid = true;
    z.AxisLine.init(2000, 5120, 2100, 0);
    z.AxisLine.Valid = true;
    z.LinesVisible = true;
    z.GTLine.init(1700, 1500, 2400, 1500);
    z.TipLine.init(1700, 3800, 2400, 3800);
    z.LTLine1.init(1700, 1800, 2400, 2300);
    z.LTLine2.init(1700, 2300, 2400, 1800);
    return w;
}

// Zoom `target` with the view in the middle of the film.
void setView(MainForm& w, float target)
{
    if (!w.centerMode())
        w.m_ZoomCenter_Click();
    w.Zoom(target / w.zoom());
    w.HScroll()->setValue(w.HScroll()->maximum() / 2);
    w.VScroll()->setValue(w.VScroll()->maximum() / 2);
}

float zoomOf(const benchmark::State& state)
{
    return float(state.range(0)) / 100.0f;
}

void BM_FullRepaint(benchmark::State& state)
{
    MainForm& w = window();
    setView(w, zoomOf(state));
    for (auto _ : state) {
        w.repaintPicture();
        w.PicBox()->repaint(); // the copy to the screen, at once
    }
    state.counters["view_px"] = double(w.PicBox()->width()) * w.PicBox()->height();
}
BENCHMARK(BM_FullRepaint)->Arg(200)->Arg(100)->Arg(50)->Unit(benchmark::kMillisecond);

void BM_BackingFill(benchmark::State& state)
{
    QImage backing(kViewW, kViewH, QImage::Format_RGB32);
    for (auto _ : state) {
        backing.fill(0xFF808080u);
        benchmark::DoNotOptimize(backing.constBits());
    }
}
BENCHMARK(BM_BackingFill)->Unit(benchmark::kMillisecond);

// Qt's scaler over the same 8-bit rows: an Indexed8 view of the buffer,
// the visible source rectangle drawn into a backing image.
void BM_QtDrawImage(benchmark::State& state)
{
    MainForm& w = window();
    setView(w, zoomOf(state));
    CBitmap& bm = w.Bitmap();
    QImage shown(bm.bits(), bm.W(), bm.H(), qsizetype(bm.bytesPerLine()), QImage::Format_Indexed8);
    shown.setColorTable(QList<QRgb>(bm.colorTable().begin(), bm.colorTable().end()));
    const PictureView& v = *w.PicBox();
    const QRectF source(v.ScaleLeft(), v.ScaleTop(), v.ScaleWidth(), v.ScaleHeight());
    QImage backing(kViewW, kViewH, QImage::Format_RGB32);
    for (auto _ : state) {
        QPainter p(&backing);
        p.drawImage(QRectF(0, 0, kViewW, kViewH), shown, source);
    }
}
BENCHMARK(BM_QtDrawImage)->Arg(200)->Arg(100)->Arg(50)->Unit(benchmark::kMillisecond);

// The fixture's case carries landmarks set by hand, so opening a film asks
// whether to save them first; the benchmark discards them, as a user moving
// on would, so that every iteration really opens the film.
class DiscardChanges : public StderrMessages {
public:
    SaveAnswer askSave(const std::string&, const std::string&) override
    {
        return SaveAnswer::Discard;
    }
};

void BM_OpenToFirstFrame(benchmark::State& state)
{
    MainForm& w = window();
    DiscardChanges discard;
    setUserMessages(&discard);
    for (auto _ : state) {
        w.OpenImage(fixture().jpeg);
        w.PicBox()->repaint();
    }
    setUserMessages(nullptr);
}
BENCHMARK(BM_OpenToFirstFrame)->Unit(benchmark::kMillisecond)->MinTime(2.0);

void BM_DecodeJpeg(benchmark::State& state)
{
    window();
    for (auto _ : state) {
        QImage img = QImageReader(fixture().jpeg).read();
        benchmark::DoNotOptimize(img.constBits());
    }
}
BENCHMARK(BM_DecodeJpeg)->Unit(benchmark::kMillisecond)->MinTime(2.0);

void printRatio(const RatioReporter& rep, const std::string& name, const std::string& ref)
{
    const auto a = rep.find(name);
    const auto b = rep.find(ref);
    if (!a || !b)
        return;
    std::printf("  %-26s %9.3f ms = %8.3f x %s\n", name.c_str(), a->real * 1e3, a->real / b->real,
                ref.c_str());
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    // Opening remembers the path in Zor2.ini; keep the user's own file out of it.
    qputenv("XDG_CONFIG_HOME", fixture().dir.path().toLocal8Bit());
    benchmark::Initialize(&argc, argv);
    window();
    RatioReporter rep;
    benchmark::RunSpecifiedBenchmarks(&rep);

    std::printf("\nPicture view %d x %d over a %d x %d film (zoom = image pixels per screen "
                "pixel):\n",
                kViewW, kViewH, kW, kH);
    for (const char* z : {"200", "100", "50"}) {
        const std::string repaint = std::string("BM_FullRepaint/") + z;
        printRatio(rep, repaint, "BM_BackingFill");
        printRatio(rep, repaint, std::string("BM_QtDrawImage/") + z);
    }
    printRatio(rep, "BM_OpenToFirstFrame", "BM_DecodeJpeg");
    fixture().window.reset();
    benchmark::Shutdown();
    return 0;
}
