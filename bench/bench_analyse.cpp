// `zor-cli analyse` over 1,000 stored cases (read the landmark file, analyse,
// append the record), against the floor of reading the same files' bytes.
// Cases are given as landmark files with --size, or as JPEG images whose
// size comes from their header.

#include "app/cli/Cli.h"
#include "casefile/BinFile.h"
#include "casefile/FileIO.h"
#include "model/CZor.h"

#include <QApplication>
#include <QImage>

#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

namespace {

constexpr int kCases = 1000;

void setLine(CLine& l, double x0, double y0, double x1, double y1)
{
    l.init(x0, y0, x1, y1);
    l.Valid = true;
}

// A complete case; k moves the landmarks a little so that no two are alike.
void makeCase(CZor& z, int k)
{
    double d = (k % 37) * 0.5;
    z.initScale(860, 1000, 430.0);
    z.Patient.Famname = "M\xC3\xBCller";
    z.Patient.Vorname = "Anna";
    z.Patient.Code = "S-" + std::to_string(k);
    z.Patient.DatFile = "study";
    z.Patient.HeadTR = 14.0;
    z.Datum = "20030212";
    setLine(z.AxisLine, 400 + d, 1000, 400 - d, 0);
    setLine(z.TipLine, 350, 800 + d, 450, 800);
    setLine(z.GTLine, 380, 250, 460, 250 + d);
    setLine(z.LTLine1, 340, 380, 380, 420 + d);
    setLine(z.LTLine2, 340, 420, 380, 380);
    for (CLine* l : {&z.TipLine1, &z.TipLine2, &z.TipLine3})
        setLine(*l, 300, 600, 500, 600);
    z.head.addPoint(330 + d, 200);
    z.head.addPoint(300, 230 + d);
    z.head.addPoint(270, 200);
    z.head.Valid = z.head.fit();
    z.Shoulder.change(410, 300 + d);
    z.ShoulderValid = true;
    z.CMarker.change(400, 900);
    z.CMarkerValid = k % 2 == 0;
    for (int16_t i = 0; i < 8; ++i)
        z.points(i).change(i % 2 == 0 ? 340 + i + d : 470 - i, 500 + 40 * (i / 2) + d);
    z.PointsValid = true;
}

struct Study {
    std::string folder;
    std::vector<std::string> bitFiles;
    std::vector<std::string> images;
};

const Study& study()
{
    static const Study s = [] {
        Study st;
        std::string tmpl = (std::filesystem::temp_directory_path() / "zor-bench-XXXXXX").string();
        st.folder = mkdtemp(tmpl.data());
        QImage image(860, 1000, QImage::Format_RGB32);
        image.fill(Qt::black);
        for (int k = 0; k < kCases; ++k) {
            std::string base = st.folder + "/case" + std::to_string(k);
            CZor z;
            makeCase(z, k);
            BinFile::WriteLandmarkFile(base + ".bit", z);
            image.save(QString::fromStdString(base + ".jpg"), "JPEG");
            st.bitFiles.push_back(base + ".bit");
            st.images.push_back(base + ".jpg");
        }
        return st;
    }();
    return s;
}

double seconds(std::chrono::steady_clock::duration d)
{
    return std::chrono::duration<double>(d).count();
}

// The floor: every landmark file's bytes read once, nothing else.
double readFloorSeconds()
{
    auto start = std::chrono::steady_clock::now();
    std::string bytes;
    for (const std::string& f : study().bitFiles)
        FileIO::readWhole(f, bytes);
    return seconds(std::chrono::steady_clock::now() - start);
}

void BM_AnalyseCases(benchmark::State& state)
{
    const bool images = state.range(0) == 1;
    const Study& s = study();
    std::string report = s.folder + "/all.zor";
    std::vector<std::string> args{"analyse", "--report", report, "--today", "2026-12-07"};
    if (!images) {
        args.push_back("--size");
        args.push_back("860x1000");
    }
    const std::vector<std::string>& cases = images ? s.images : s.bitFiles;
    args.insert(args.end(), cases.begin(), cases.end());

    double analyseTotal = 0;
    double floorTotal = 0;
    for (auto _ : state) {
        state.PauseTiming();
        std::filesystem::remove(report);
        floorTotal += readFloorSeconds();
        state.ResumeTiming();
        std::ostringstream out;
        std::ostringstream err;
        auto start = std::chrono::steady_clock::now();
        int status = Cli::run(args, out, err);
        analyseTotal += seconds(std::chrono::steady_clock::now() - start);
        if (status != 0) {
            state.SkipWithError(("analyse failed: " + err.str().substr(0, 200)).c_str());
            return;
        }
    }
    double n = double(state.iterations()) * kCases;
    state.counters["cases_per_s"] = n / analyseTotal;
    state.counters["read_floor_cases_per_s"] = n / floorTotal;
    state.counters["time_per_read_floor"] = analyseTotal / floorTotal;
}

BENCHMARK(BM_AnalyseCases)
    ->ArgName("images")
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5);

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
    std::filesystem::remove_all(study().folder);
    return 0;
}
