// `zor-cli` run in-process, command by command, on real files in a fresh
// folder per test; and once as the program itself.
#include "../support/Cases.h"
#include "../support/CliRun.h"
#include "../support/DicomTestFile.h"
#include "../support/RecordingMessages.h"
#include "../support/RecordingOpener.h"
#include "../support/TempDir.h"
#include "analysis/WriteDataCommand.h"
#include "casefile/BinFile.h"
#include "model/CZor.h"
#include "series/Phantom.h"

#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTest>

#include <functional>
#include <memory>

namespace {

// The record the window's Write Data writes for the case stored in `bit`
// (the values themselves are checked in the analysis tests), under `file`.
std::string windowRecord(const std::string& bit, const std::string& file)
{
    TempDir dir;
    CZor z;
    RecordingMessages messages;
    RecordingOpener opener;
    BinFile::ReadLandmarkFile(bit, 860, 1000, z, messages);
    z.Patient.DatFile = "s";
    WriteDataCommand::run(z, dir.file("case.bmp"), messages, FixedClock({2026, 12, 7}), opener);
    const std::string r = TempDir::read(dir.file("s.zor"));
    return "\"-------> OLTA-ZOR 2002  File: " + file + "\",#2026-12-07#" + r.substr(r.find("\r\n"));
}

// A 5 x 5 picture at grey 100 with a bright centre, in colour: only its blue
// channel counts. The transparent corner makes it decode to ARGB.
QImage sample()
{
    QImage img(5, 5, QImage::Format_ARGB32);
    img.fill(qRgb(7, 240, 100));
    img.setPixel(2, 2, qRgb(0, 0, 255));
    img.setPixel(0, 0, qRgba(10, 20, 30, 0));
    return img;
}

QImage greyImage(const std::string& file)
{
    return QImage(QString::fromStdString(file)).convertToFormat(QImage::Format_Grayscale8);
}

const std::string kSize =
    "--size=" + std::to_string(Phantom::kWidth) + "x" + std::to_string(Phantom::kHeight);

const char* const kFilmHeader =
    "series,code,family_name,given_name,side,film,date,months,reference,comparable,reason,"
    "head_factor,subsidence_mm,subsidence_ci95,subsidence_spread,migration_detected,tilt_deg,"
    "tilt_ci95,cement_subsidence_mm,cement_ci95,d_comp_y1,d_comp_y2,d_comp_x,width_change_pct,"
    "dx_medial_1,dx_medial_2,dx_medial_3,dx_medial_4,dx_medial_5,dx_lateral_1,dx_lateral_2,"
    "dx_lateral_3,dx_lateral_4,dx_lateral_5,over_threshold";

} // namespace

class TestCli : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<TempDir> dir_;

    std::string file(const std::string& name) const { return dir_->file(name); }
    std::string read(const std::string& name) const { return TempDir::read(file(name)); }

    // An image of the hand-made case with its landmark file beside it.
    std::string makeCase(const std::string& base,
                         const std::function<void(CZor&)>& change = nullptr)
    {
        QImage image(860, 1000, QImage::Format_RGB32);
        image.fill(Qt::black);
        CZor z;
        Cases::upright(z);
        if (change)
            change(z);
        if (!image.save(QString::fromStdString(file(base + ".bmp")), "BMP") ||
            !BinFile::WriteLandmarkFile(file(base + ".bit"), z))
            qFatal("cannot write the test case");
        return file(base + ".bmp");
    }

private slots:
    void init() { dir_ = std::make_unique<TempDir>(); }

    // Help on stdout with status 0; on stderr the arguments refused, with
    // status 2 (the files named do not exist, so a command that went on to
    // read them would end with 1), and the images render cannot read or
    // write, with 1. "$/" is the test's folder.
    void helpRefusalsAndFailures()
    {
        QVERIFY(sample().save(QString::fromStdString(file("case.png"))));
        QImage wide(32768, 1, QImage::Format_Grayscale8);
        wide.fill(9);
        QVERIFY(wide.save(QString::fromStdString(file("wide.png"))));
        const struct {
            std::vector<std::string> args;
            int status;
            const char* message;
        } rows[] = {
            {{}, 2, "usage: zor-cli COMMAND"},
            {{"--help"}, 0, "analyse [--report FILE] [--today YYYY-MM-DD] [--size WxH] CASE..."},
            {{"frobnicate"}, 2, "unknown command 'frobnicate'"},
            {{"analyse", "--help"}, 0, "usage: zor-cli analyse [--report FILE] [--today"},
            {{"analyse"}, 2, "no CASE given"},
            {{"analyse", "--fast", "a.jpg"}, 2, "unknown option '--fast'"},
            {{"analyse", "a.bit"}, 2, "the landmark file a.bit needs --size WxH"},
            {{"analyse", "--size", "40000x10", "a.bit"}, 2, "(1 to 32767), not '40000x10'"},
            {{"analyse", "--today", "2026-02-30", "a.jpg"}, 2, "not '2026-02-30'"},
            {{"analyse", "a.jpg", "--report"}, 2, "--report needs a value"},
            {{"render", "--help"}, 0, "usage: zor-cli render IMAGE"},
            {{"render", "in.png", "--brightness=257"}, 2, "takes an offset from -256 to 256"},
            {{"render", "in.png", "-o", "o.pgm", "--contrast"}, 2, "--contrast needs a value"},
            {{"render", "in.png", "--invert"}, 2, "no output file"},
            {{"render", "in.png", "other.png", "-o", "o.pgm"}, 2, "only one image"},
            {{"render", "in.png", "-o", "o.xyz"}, 2, "the format to write from the name 'o.xyz'"},
            {{"render", "$/missing.png", "-o", "$/o.pgm"}, 1, "cannot read the file"},
            {{"render", "$/wide.png", "-o", "$/o.pgm"}, 1, "32768 x 1 pixels"},
            {{"render", "$/case.png", "-o", "$/no/such/dir/o.pgm"}, 1, "cannot write"},
            {{"info", "--help"}, 0, "usage: zor-cli info [--json] FILE..."},
            {{"info"}, 2, "no file given"},
            {{"info", "--xml", "a.dcm"}, 2, "unknown option '--xml'"},
            {{"series", "--help"}, 0, "usage: zor-cli series"},
            {{"series"}, 2, "no PATH given"},
            {{"series", "--fast", "x"}, 2, "unknown option '--fast'"},
            {{"series", "--size=10", "x"}, 2, "--size wants WxH"},
            {{"series", "--draws=1", "x"}, 2, "--draws wants a whole number from 2"},
            {{"phantom", "--help"}, 0, "usage: zor-cli phantom --out DIR"},
            {{"phantom"}, 2, "no --out DIR given"},
            {{"phantom", "--out", "x", "--films=0"}, 2, "--films wants a whole number from 1"}};
        for (const auto& row : rows) {
            std::vector<std::string> args;
            for (const std::string& a : row.args)
                args.push_back(a.starts_with("$/") ? file(a.substr(2)) : a);
            const CliRun r = runCli(args);
            QVERIFY2(r.status == row.status, row.message);
            QVERIFY2(contains(row.status == 0 ? r.out : r.err, row.message), r.err.c_str());
            QVERIFY2((row.status == 0 ? r.err : r.out).empty(), row.message);
        }
    }

    // Beside the image, under the case's "Data File"; or all to --report.
    void analyseWritesTheWindowsRecord()
    {
        std::string image = makeCase("case1");
        std::string landmarks = read("case1.bit");
        CliRun r = runCli({"--today", "2026-12-07", image}, "analyse");
        QCOMPARE(r.status, 0);
        QCOMPARE(r.out, std::string("Zor: Data written to study1.zor\n"));
        QCOMPARE(r.err, std::string());
        QCOMPARE(read("study1.zor"), windowRecord(file("case1.bit"), "study1.zor"));
        QCOMPARE(read("case1.bit"), landmarks); // never rewritten

        // A case without "Data File", as image and as landmark file.
        image = makeCase("case2", [](CZor& z) { z.Patient.DatFile = ""; });
        const std::string bit = file("case2.bit"), report = file("all");
        r = runCli({"--report", report, "--size", "860x1000", "--today=2026-12-07", image, bit},
                   "analyse");
        QCOMPARE(r.status, 0);
        QCOMPARE(r.out,
                 "Zor: Data written to " + report + "\nZor: Data written to " + report + "\n");
        const std::string one = windowRecord(bit, report);
        QCOMPARE(TempDir::read(report), one + one);
    }

    void analyseNamesFailedCasesAndStillDoesTheOthers()
    {
        std::string missing = makeCase("missing", [](CZor& z) {
            z.Datum = "";
            z.Patient.Vorname = "";
        });
        std::string noHead = makeCase("nohead", [](CZor& z) { z.Patient.HeadTR = 0.0; });
        std::string forged = makeCase("forged", [](CZor& z) {
            z.Patient.Code = "S-01\"\r\n\"-------> OLTA-ZOR 2002  File: forged.zor\",#2026-12-07#";
        });
        std::string good = makeCase("good", [](CZor& z) { z.Patient.DatFile = "good"; });
        std::string damaged = file("damaged.bit");
        TempDir::write(damaged, std::string("\x0C\x00"
                                            "Calib (REAL)\x05",
                                            15));
        std::string lonely = file("lonely.bmp");
        QFile::copy(QString::fromStdString(good), QString::fromStdString(lonely));
        std::string absent = file("absent.jpg");

        CliRun r =
            runCli({"--size", "860x1000", missing, noHead, forged, good, damaged, lonely, absent},
                   "analyse");
        QCOMPARE(r.status, 1);
        QCOMPARE(r.out, std::string("Zor: Data written to good.zor\n"));
        QVERIFY(contains(read("good.zor"), "\r\n\"comp-y\","));
        QVERIFY2(contains(r.err, "Zor Error: Patient's Data missing: X-Ray Date, First Name / "),
                 r.err.c_str());
        QVERIFY(contains(r.err, "Zor Error: Patient's Data missing: Head Diameter / "));
        QVERIFY(contains(r.err, "Zor Error: Data not written to study1.zor / the Study - ID holds "
                                "a double quote or a control character\n"));
        QVERIFY(contains(r.err, "Zor: Error in File: " + damaged + " after Key:\n"));
        QVERIFY(contains(r.err, "Zor Error: no landmark file " + file("lonely.bit") + "\n"));
        QVERIFY(contains(r.err, "Error: load Error: "));
        for (const std::string& c : {missing, noHead, forged, damaged, lonely, absent})
            QVERIFY(contains(r.err, "zor-cli analyse: " + c + ": no record written\n"));
        QVERIFY(!QFile::exists(QString::fromStdString(file("study1.zor"))));
    }

    // The picture is 5 pixels wide, so that row padding would show. The
    // format to write comes from the name, whatever its case.
    void renderOperationsAndFormats()
    {
        const std::string in = file("case.png");
        QVERIFY(sample().save(QString::fromStdString(in)));
        const struct {
            std::vector<std::string> ops;
            const char* out;
            int centre, neighbour, corner, inner;
        } rows[] = {{{}, "out.pgm", 255, 100, 30, 100},
                    // 2 x 100 - (255 + 3 x 100) / 4 = 61.25
                    {{"--sharpen=1", "--sharpen", "2", "--undo"}, "OUT.PNG", 255, 61, 30, 100},
                    {{"--invert"}, "inv.pgm", 0, 155, 225, 155},
                    {{"--contrast", "384", "--brightness", "-50"}, "con.pgm", 255, 100, 0, 100}};
        for (const auto& row : rows) {
            std::vector<std::string> args{in};
            args.insert(args.end(), row.ops.begin(), row.ops.end());
            args.insert(args.end(), {"-o", file(row.out)});
            const CliRun r = runCli(args, "render");
            QVERIFY2(r.status == 0 && r.err.empty(), r.err.c_str());
            const QImage img = greyImage(file(row.out));
            QCOMPARE(img.size(), QSize(5, 5));
            auto grey = [&img](int x, int y) { return int(img.constScanLine(y)[x]); };
            QCOMPARE((QList<int>{grey(2, 2), grey(1, 2), grey(0, 0), grey(1, 1)}),
                     (QList<int>{row.centre, row.neighbour, row.corner, row.inner}));
        }
        QVERIFY(read("out.pgm").starts_with("P5"));
        QVERIFY(read("OUT.PNG").starts_with("\x89PNG"));
    }

    // The program itself, with no window system and no desktop session, as
    // in a batch job: a JPEG still decodes, and stderr stays empty.
    void theProgramNeedsNoWindowSystemAndSaysNothingOfIt()
    {
        const QString jpeg = QString::fromStdString(file("case.jpg"));
        QVERIFY(sample().save(jpeg, "JPEG"));
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove("XDG_RUNTIME_DIR");
        env.remove("QT_QPA_PLATFORM");
        env.remove("DISPLAY");
        p.setProcessEnvironment(env);
        const QString out = QString::fromStdString(file("j.png"));
        // With Qt Core alone, and with Qt Gui for the reports.
        for (const QStringList& args : {QStringList{"render", jpeg, "-o", out}, {"report", "-h"}}) {
            p.start(ZOR_BINARY_DIR "/src/app/zor-cli", args);
            QVERIFY(p.waitForFinished(60000));
            QCOMPARE(p.readAllStandardError(), QByteArray());
            QCOMPARE(p.exitCode(), 0);
        }
        QCOMPARE(greyImage(out.toStdString()).size(), QSize(5, 5));
    }

    // What the loader finds, as text; as JSON for scripts, failures named.
    void info()
    {
        const std::string film = file("film"); // DICOM without a name extension
        DicomTestFilm f;
        f.tags = {{DCM_PixelSpacing, "0.139\\0.139"}, {DCM_PixelSpacingCalibrationType, "GEOMETRY"},
                  {DCM_WindowCenter, "2000"},         {DCM_WindowWidth, "3000"},
                  {DCM_PatientName, "Doe^Jane"},      {DCM_PatientID, "ST-7"},
                  {DCM_StudyDate, "20240105"},        {DCM_ImageLaterality, "L"}};
        writeDicomTestFilm(film, f);
        const std::string bmp = file("plain.bmp");
        QImage image(30, 20, QImage::Format_Grayscale8);
        image.fill(7);
        QVERIFY(image.save(QString::fromStdString(bmp)));

        CliRun r = runCli({film, bmp}, "info");
        QCOMPARE(r.status, 0);
        QCOMPARE(r.err, std::string());
        QCOMPARE(r.out, film +
                            "\n"
                            "  kind: DICOM, Little Endian Explicit\n"
                            "  size: 48 x 40 pixels, 12 bits\n"
                            "  window: window 2000/3000\n"
                            "  scale: 0.139 mm/px, calibrated at the patient (DICOM)\n"
                            "  patient: Doe, Jane\n"
                            "  patient ID: ST-7\n"
                            "  date: 20240105\n"
                            "  laterality: L\n" +
                            bmp +
                            "\n"
                            "  kind: BMP\n"
                            "  size: 30 x 20 pixels, 8 bits\n"
                            "  scale: not calibrated (the 430 mm film default applies)\n");

        const std::string missing = file("missing.dcm");
        r = runCli({"--json", film, missing, bmp}, "info");
        QCOMPARE(r.status, 1);
        QVERIFY(contains(r.err, missing));
        const QJsonArray all = QJsonDocument::fromJson(QByteArray::fromStdString(r.out)).array();
        QCOMPARE(all.size(), 3);
        QCOMPARE(all[0].toObject()["family_name"].toString(), QString("Doe"));
        QVERIFY(all[1].toObject()["error"].toString().contains("no such file"));
        QVERIFY(all[2].toObject()["mm_per_pixel"].isNull());
    }

    // A path that does not exist is left out, with its reason, and the rest
    // still done.
    void seriesTableFilesAndTruth()
    {
        const std::string s = file("study"), gone = file("gone.png");
        QCOMPARE(runCli({"phantom", "--out", s, "--patients=2", "--films=4", "--no-images"}).status,
                 0);
        CliRun r = runCli({"series", "--draws=40", kSize, "--csv", file("films.csv"), "--summary",
                           file("series.csv"), s, gone});
        QCOMPARE(r.status, 1);
        std::vector<std::string> out = textLines(r.out);
        // Per series a title, the column heads, four films and a blank line.
        QCOMPARE(out.size(), size_t(2 * 7 + 3));
        QCOMPARE(out[0], std::string("PH-001 R  Berger, Anna, right hip: 4 films, 4 comparable, "
                                     "pattern: unclassified"));
        QCOMPARE(out[15], "  " + gone + ": no such file or folder");
        QCOMPARE(out.back(), std::string("2 series, 8 films, 1 left out"));

        std::vector<std::string> films = textLines(read("films.csv"));
        QCOMPARE(films.size(), size_t(10));
        QCOMPARE(films[0], std::string(kFilmHeader));
        QVERIFY(films[1].starts_with("PH-001 R,PH-001,Berger,Anna,R,PH-001/PH-001-"));
        QVERIFY(contains(films[1], ",1,1,,")); // reference, comparable, no reason
        QVERIFY(films[9].starts_with(",,,,," + gone + ",,,,,no such file or folder,"));
        std::vector<std::string> summary = textLines(read("series.csv"));
        QCOMPARE(summary.size(), size_t(3));
        QCOMPARE(summary[0], std::string("series,code,family_name,given_name,side,films,"
                                         "comparable_films,followup_months,subsidence_last_mm,"
                                         "subsidence_24_mm,max_abs_tilt_deg,pattern,"
                                         "over_threshold"));
        QVERIFY(contains(summary[1], ",Berger,Anna,"));

        std::vector<std::string> truth = textLines(TempDir::read(s + "/truth.csv"));
        QCOMPARE(truth.size(), size_t(9));
        QVERIFY(truth[0].starts_with("film,code,side,months,curve,sinking_mm,subsidence_mm,"));
        QVERIFY(truth[1].starts_with("PH-001/PH-001-"));

        // A reference that is no case of the study is a usage error.
        r = runCli({"series", "--reference=nothing.bit", kSize, s});
        QCOMPARE(r.status, 2);
        QVERIFY(contains(r.err, "--reference nothing.bit is no case of the study"));
    }
};

QTEST_MAIN(TestCli)
#include "tst_cli.moc"
