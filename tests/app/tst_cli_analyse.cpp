#include "../support/Cases.h"
#include "../support/CliRun.h"
#include "../support/DicomTestFile.h"
#include "../support/TempDir.h"
#include "casefile/BinFile.h"
#include "model/CZor.h"

#include <QFile>
#include <QImage>
#include <QTest>

#include <cmath>
#include <functional>
#include <memory>

namespace {

// The hand-made case as stored: the head circle is kept as its rim points
// and fitted again on reading, so its values are exact only to about 1e-12.
const std::vector<std::string> uprightLines = {
    "\"-------> OLTA-ZOR 2002  File: study1.zor\",#2026-12-07#",
    "\"M\xFCller\",\"Jos\xE9\",\"S-01\"",
    "\"date of radiogram\",\"20030212\"",
    "\"side of replacement\",\"L\",\"factor-head\",1.0714285714285714,\"factor-stem\",1",
    "\"ZOR-parameters (x-distances)\"",
    "\"medial\",20,30,28,25,22",
    "\"lateral\",0,35,34,31,30",
    "\"valgus-varus (degrees)\",-0.5903274718663375,\"subsidence\",100,25,50,-25",
    "\"subsidence stem/cement interface\",50",
    "\"comp-y\",250,50,\"comp-x\",50"};

std::vector<std::string> split(const std::string& s, const std::string& sep)
{
    std::vector<std::string> parts;
    size_t at = 0;
    for (size_t next; (next = s.find(sep, at)) != std::string::npos; at = next + sep.size())
        parts.push_back(s.substr(at, next - at));
    parts.push_back(s.substr(at));
    return parts;
}

// Compares a record line by line: texts exactly, numbers to 1e-9.
void compareRecord(const std::string& record, const std::vector<std::string>& expected)
{
    std::vector<std::string> lines = split(record, "\r\n");
    QCOMPARE(lines.size(), expected.size() + 1);
    QCOMPARE(lines.back(), std::string());
    for (size_t i = 0; i < expected.size(); ++i) {
        std::vector<std::string> got = split(lines[i], ",");
        std::vector<std::string> want = split(expected[i], ",");
        QCOMPARE(got.size(), want.size());
        for (size_t k = 0; k < want.size(); ++k) {
            if (want[k].front() == '"' || want[k].front() == '#')
                QCOMPARE(got[k], want[k]);
            else
                QVERIFY2(std::abs(std::stod(got[k]) - std::stod(want[k])) < 1e-9,
                         (got[k] + " vs " + want[k]).c_str());
        }
    }
}

std::string readFile(const std::string& path)
{
    return TempDir::read(path);
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
        compareRecord(record, uprightLines);
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
        std::vector<std::string> expected = uprightLines;
        expected[0] = "\"-------> OLTA-ZOR 2002  File: " + report + "\",#2026-12-07#";
        std::string records = readFile(report);
        size_t half = records.size() / 2;
        QCOMPARE(records.substr(0, half), records.substr(half));
        compareRecord(records.substr(0, half), expected);
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

    void usageErrors_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::newRow("no case") << QStringList{};
        QTest::newRow("unknown option") << QStringList{"--fast", "a.jpg"};
        QTest::newRow("landmark file without size") << QStringList{"a.bit"};
        QTest::newRow("bad size") << QStringList{"--size", "860", "a.bit"};
        QTest::newRow("size too large") << QStringList{"--size", "40000x10", "a.bit"};
        QTest::newRow("bad date") << QStringList{"--today", "2026-02-30", "a.jpg"};
        QTest::newRow("date in another form") << QStringList{"--today", "07.12.2026", "a.jpg"};
        QTest::newRow("report without a name") << QStringList{"a.jpg", "--report"};
    }

    void usageErrors()
    {
        QFETCH(QStringList, args);
        std::vector<std::string> a;
        for (const QString& s : args)
            a.push_back(s.toStdString());
        CliRun r = analyse(a);
        QCOMPARE(r.status, 2);
        QVERIFY(contains(r.err, "zor-cli analyse: "));
        QCOMPARE(r.out, std::string());
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
