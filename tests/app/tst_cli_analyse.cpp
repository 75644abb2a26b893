#include "../support/Cases.h"
#include "../support/CliRun.h"
#include "../support/DicomTestFile.h"
#include "../support/RecordingMessages.h"
#include "../support/RecordingOpener.h"
#include "../support/TempDir.h"
#include "analysis/WriteDataCommand.h"
#include "casefile/BinFile.h"
#include "model/CZor.h"

#include <QFile>
#include <QImage>
#include <QTest>

#include <functional>
#include <memory>

namespace {

std::string readFile(const std::string& path)
{
    return TempDir::read(path);
}

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
    const std::string r = readFile(dir.file("s.zor"));
    return "\"-------> OLTA-ZOR 2002  File: " + file + "\",#2026-12-07#" + r.substr(r.find("\r\n"));
}

CliRun analyse(const std::vector<std::string>& args)
{
    return runCli(args, "analyse");
}

} // namespace

class TestCliAnalyse : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<TempDir> dir_; // a fresh folder per test function

    std::string file(const std::string& name) const { return dir_->file(name); }

    // An image of the hand-made case with its landmark file beside it.
    std::string makeCase(const std::string& base,
                         const std::function<void(CZor&)>& change = nullptr)
    {
        QImage image(860, 1000, QImage::Format_RGB32);
        image.fill(Qt::black);
        std::string imagePath = file(base + ".bmp");
        if (!image.save(QString::fromStdString(imagePath), "BMP"))
            qFatal("cannot save the test image");
        makeLandmarkFile(base + ".bit", change);
        return imagePath;
    }

    std::string makeLandmarkFile(const std::string& name,
                                 const std::function<void(CZor&)>& change = nullptr)
    {
        CZor z;
        Cases::upright(z);
        if (change)
            change(z);
        std::string path = file(name);
        if (!BinFile::WriteLandmarkFile(path, z))
            qFatal("cannot write the test landmark file");
        return path;
    }

private slots:
    void init() { dir_ = std::make_unique<TempDir>(); }

    void anImageCaseAppendsItsRecordBesideTheImage()
    {
        std::string image = makeCase("case1");
        std::string landmarks = readFile(file("case1.bit"));
        CliRun r = analyse({"--today", "2026-12-07", image});
        QCOMPARE(r.status, 0);
        QCOMPARE(r.out, std::string("Zor: Data written to study1.zor\n"));
        QCOMPARE(r.err, std::string());
        std::string record = readFile(file("study1.zor"));
        QCOMPARE(record, windowRecord(file("case1.bit"), "study1.zor"));
        QCOMPARE(readFile(file("case1.bit")), landmarks); // never rewritten

        // With a fixed date a second run appends the same bytes again.
        QCOMPARE(analyse({"--today=2026-12-07", image}).status, 0);
        QCOMPARE(readFile(file("study1.zor")), record + record);
    }

    // One landmark set on a DICOM film and on a BMP of the same size: the
    // same record.
    void aDicomFilmGivesTheRecordOfTheSameBmp()
    {
        const std::string bmp = makeCase("asbmp");
        DicomTestFilm film;
        film.width = 860;
        film.height = 1000;
        film.value = [](int, int) { return uint16_t(0); };
        const std::string dicom = file("asdicom.dcm");
        writeDicomTestFilm(dicom, film);
        makeLandmarkFile("asdicom.bit");
        QCOMPARE(analyse({"--today", "2026-12-07", bmp}).status, 0);
        const std::string record = readFile(file("study1.zor"));
        const CliRun r = analyse({"--today", "2026-12-07", dicom});
        QCOMPARE(r.err, std::string());
        QCOMPARE(readFile(file("study1.zor")), record + record);
    }

    void aReportOptionCollectsEveryCaseUnderItsName()
    {
        std::string image = makeCase("case2", [](CZor& z) { z.Patient.DatFile = ""; });
        std::string bit = makeLandmarkFile("case3.bit");
        std::string report = file("all");
        CliRun r = analyse(
            {"--report", report, "--size", "860x1000", "--today", "2026-12-07", image, bit});
        QCOMPARE(r.status, 0);
        QCOMPARE(r.out,
                 "Zor: Data written to " + report + "\nZor: Data written to " + report + "\n");
        std::string records = readFile(report);
        size_t half = records.size() / 2;
        QCOMPARE(records.substr(0, half), records.substr(half));
        QCOMPARE(records.substr(0, half), windowRecord(bit, report));
    }

    void failedCasesAreNamedAndTheOthersStillDone()
    {
        std::string missing = makeCase("missing", [](CZor& z) {
            z.Datum = "";
            z.Patient.Vorname = "";
        });
        std::string noHead = makeCase("nohead", [](CZor& z) { z.Patient.HeadTR = 0.0; });
        std::string parallel =
            makeCase("parallel", [](CZor& z) { Cases::setLine(z.TipLine, 400, 900, 400, 700); });
        std::string forged = makeCase("forged", [](CZor& z) {
            z.Patient.Code = "S-01\"\r\n\"-------> OLTA-ZOR 2002  File: forged.zor\",#2026-12-07#";
        });
        std::string unfitted = makeCase("unfitted", [](CZor& z) { z.head.removeAll(); });
        std::string good = makeCase("good", [](CZor& z) { z.Patient.DatFile = "good"; });
        std::string damaged = file("damaged.bit");
        TempDir::write(damaged, std::string("\x0C\x00"
                                            "Calib (REAL)\x05",
                                            15));
        std::string lonely = file("lonely.bmp");
        QFile::copy(QString::fromStdString(good), QString::fromStdString(lonely));

        CliRun r = analyse({"--size", "860x1000", missing, noHead, parallel, forged, unfitted, good,
                            damaged, lonely, file("absent.jpg")});
        QCOMPARE(r.status, 1);
        QCOMPARE(r.out, std::string("Zor: Data written to good.zor\n"));
        QVERIFY(contains(readFile(file("good.zor")), "\r\n\"comp-y\","));
        QVERIFY2(contains(r.err, "Zor Error: Patient's Data missing: X-Ray Date, First Name / "),
                 r.err.c_str());
        QVERIFY(contains(r.err, "Zor Error: Patient's Data missing: Head Diameter / "));
        QVERIFY(!contains(r.err, "Equation Solver")); // one message per case
        QVERIFY(contains(r.err, "Zor Error: Tip Line does not cross the Axis Line / move the Tip "
                                "Line\n"));
        QVERIFY(contains(r.err, "Zor Error: Data not written to study1.zor / the Study - ID holds "
                                "a double quote or a control character\n"));
        QVERIFY(contains(r.err, "Zor Error: head data missing / use Measurement Tool 'Head'\n"));
        QVERIFY(contains(r.err, "Zor: Error in File: " + damaged + " after Key:\n"));
        QVERIFY(contains(r.err, "Zor Error: no landmark file " + file("lonely.bit") + "\n"));
        QVERIFY(contains(r.err, "Error: load Error: "));
        for (const std::string& c : {missing, noHead, parallel, forged, unfitted, damaged, lonely})
            QVERIFY(contains(r.err, "zor-cli analyse: " + c + ": no record written\n"));
        QVERIFY(!contains(r.err, good + ": no record written"));
        QVERIFY(!QFile::exists(QString::fromStdString(file("study1.zor"))));
    }

    void usageErrors()
    {
        for (const std::vector<std::string>& args : std::initializer_list<std::vector<std::string>>{
                 {},
                 {"--fast", "a.jpg"},
                 {"a.bit"}, // a landmark file needs --size
                 {"--size", "860", "a.bit"},
                 {"--size", "40000x10", "a.bit"},
                 {"--today", "2026-02-30", "a.jpg"},
                 {"--today", "07.12.2026", "a.jpg"},
                 {"a.jpg", "--report"}}) {
            CliRun r = analyse(args);
            QCOMPARE(r.status, 2);
            QVERIFY(contains(r.err, "zor-cli analyse: "));
            QCOMPARE(r.out, std::string());
        }
    }

    void helpExplainsTheCommand()
    {
        CliRun r = analyse({"--help"});
        QCOMPARE(r.status, 0);
        QVERIFY(contains(r.out, "usage: zor-cli analyse [--report FILE] [--today YYYY-MM-DD] "
                                "[--size WxH] CASE..."));
        QVERIFY(contains(r.out, "exit status"));
        QVERIFY(contains(runCli({"--help"}).out, "analyse [--report FILE]"));
    }
};

QTEST_MAIN(TestCliAnalyse)
#include "tst_cli_analyse.moc"
