// Opening a 3000 x 3500, 12-bit DX film stored as 16 bits, uncompressed and
// JPEG lossless: through the loader to the image buffer, and through the
// window to the first painted frame, each against a bare DCMTK decode and
// window of the same file measured in the same run.

#include "../tests/support/DicomTestFile.h"
#include "RatioReporter.h"
#include "dcmtk/dcmimgle/dcmimage.h"
#include "dcmtk/dcmjpeg/djdecode.h"
#include "image/CBitmap.h"
#include "imageio/RadiographFile.h"
#include "shell/MainForm.h"
#include "shell/PictureView.h"

#include <QApplication>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <random>
#include <string>

namespace {

struct Fixture {
    QTemporaryDir dir;
    std::string films[2]; // uncompressed, JPEG lossless
    std::unique_ptr<MainForm> window;
};

Fixture& fixture()
{
    static Fixture f;
    return f;
}

// Smooth anatomy-like gradients with noise, so that the lossless JPEG has
// real work to do.
void writeFilms()
{
    Fixture& f = fixture();
    DicomTestFilm film;
    film.width = 3000;
    film.height = 3500;
    auto noise = std::make_shared<std::mt19937>(7);
    film.value = [noise](int x, int y) {
        const int n = int((*noise)() % 64);
        return uint16_t(std::min(4095, (x / 2 + y / 3) % 3000 + 500 + n));
    };
    film.tags = {{DCM_WindowCenter, "2000"}, {DCM_WindowWidth, "3000"}};
    f.films[0] = f.dir.filePath("dx.dcm").toStdString();
    f.films[1] = f.dir.filePath("dx-jpeg-lossless.dcm").toStdString();
    writeDicomTestFilm(f.films[0], film);
    const std::string command = "dcmcjpeg '" + f.films[0] + "' '" + f.films[1] + "'";
    if (std::system(command.c_str()) != 0)
        std::fprintf(stderr, "dcmcjpeg failed; the JPEG lossless figures are missing\n");
}

MainForm& window()
{
    Fixture& f = fixture();
    if (!f.window) {
        f.window = std::make_unique<MainForm>();
        f.window->resize(1600, 1000);
        f.window->show();
        QApplication::processEvents();
    }
    return *f.window;
}

const std::string& film(const benchmark::State& state)
{
    return fixture().films[state.range(0)];
}

// What any DICOM viewer must do at least: read, decode, window to 8 bits.
void BM_BareDcmtk(benchmark::State& state)
{
    for (auto _ : state) {
        DicomImage image(film(state).c_str());
        image.setWindow(0);
        benchmark::DoNotOptimize(image.getOutputData(8));
    }
}
BENCHMARK(BM_BareDcmtk)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->MinTime(2.0);

void BM_LoaderToBuffer(benchmark::State& state)
{
    for (auto _ : state) {
        CBitmap bitmap;
        RadiographInfo info;
        std::string error;
        if (!RadiographFile::load(film(state), bitmap, info, error))
            state.SkipWithError(error.c_str());
        benchmark::DoNotOptimize(bitmap.bits());
    }
}
BENCHMARK(BM_LoaderToBuffer)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->MinTime(2.0);

void BM_OpenToFirstFrame(benchmark::State& state)
{
    MainForm& w = window();
    const QString path = QString::fromStdString(film(state));
    for (auto _ : state) {
        w.OpenImage(path);
        w.PicBox()->repaint();
    }
}
BENCHMARK(BM_OpenToFirstFrame)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->MinTime(2.0);

void printRatio(const RatioReporter& rep, const std::string& name, const std::string& ref)
{
    const auto a = rep.find(name);
    const auto b = rep.find(ref);
    if (!a || !b)
        return;
    std::printf("  %-24s %9.3f ms = %6.3f x %s (CPU time: %6.3f x)\n", name.c_str(), a->real * 1e3,
                a->real / b->real, ref.c_str(), a->cpu / b->cpu);
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    qputenv("XDG_CONFIG_HOME", fixture().dir.path().toLocal8Bit());
    OFLog::configure(OFLogger::ERROR_LOG_LEVEL);
    DJDecoderRegistration::registerCodecs();
    benchmark::Initialize(&argc, argv);
    writeFilms();
    RatioReporter rep;
    benchmark::RunSpecifiedBenchmarks(&rep);

    std::printf("\nOpening a 3000 x 3500 16-bit DX film (/0 uncompressed, /1 JPEG lossless), "
                "against a bare DCMTK decode and window:\n");
    for (const char* k : {"/0", "/1"}) {
        const std::string bare = std::string("BM_BareDcmtk") + k;
        printRatio(rep, std::string("BM_LoaderToBuffer") + k, bare);
        printRatio(rep, std::string("BM_OpenToFirstFrame") + k, bare);
    }
    fixture().window.reset();
    benchmark::Shutdown();
    return 0;
}
