#include "../support/RecordingMessages.h"
#include "analysis/Calc.h"
#include "analysis/WriteDataCommand.h"
#include "casefile/BinFile.h"
#include "model/CZor.h"
#include "shell/DemoCase.h"

#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>

namespace {

class RecordingOpener : public PatientDialogOpener {
public:
    void openPatientDialog(int redFlag) override { flags.push_back(redFlag); }
    std::vector<int> flags;
};

int grey(const QImage& image, QPointF p)
{
    return qGray(image.pixel(p.toPoint()));
}

QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

class TestDemoCase : public QObject {
    Q_OBJECT

private slots:
    void createsImageAndLandmarkFile();
    void measurementPassesTheAnalysis();
    void writeDataWorksAtOnce();
    void keepsAnExistingLandmarkFile();
    void reportsAFolderItCannotMake();
    void landmarksSitOnThePicture();
    void radiographIsTheSameEveryTime();
};

void TestDemoCase::createsImageAndLandmarkFile()
{
    QTemporaryDir tmp;
    QString error;
    const QString dir = tmp.filePath("nested/demo");
    const QString image = DemoCase::ensure(dir, &error);
    QVERIFY2(!image.isEmpty(), qPrintable(error));
    QVERIFY(QFileInfo(image).isAbsolute());
    QCOMPARE(QFileInfo(image).fileName(), QString("demo-hip.bmp"));
    const QImage loaded(image);
    QCOMPARE(loaded.size(), QSize(DemoCase::width, DemoCase::height));
    QVERIFY(loaded.allGray());
    // The landmark file is the one the window looks for beside the image.
    const auto expected = BinFile::LandmarkPath(image.toStdString());
    QVERIFY(expected);
    QVERIFY(QFileInfo::exists(QString::fromStdString(*expected)));
}

void TestDemoCase::measurementPassesTheAnalysis()
{
    QTemporaryDir tmp;
    const QString image = DemoCase::ensure(tmp.path(), nullptr);
    RecordingMessages messages;
    CZor zor;
    QVERIFY(BinFile::ReadLandmarkFile(*BinFile::LandmarkPath(image.toStdString()), DemoCase::width,
                                      DemoCase::height, zor, messages));
    QCOMPARE(zor.WorldWidth(), DemoCase::worldWidthMm);
    QVERIFY(zor.head.Valid);
    QVERIFY(zor.LinesVisible && zor.ShoulderValid && zor.PointsValid && zor.CMarkerValid);
    QVERIFY(zor.TipLine1.Valid);
    QVERIFY(zor.TipLine1.length() > 0.0);
    QCOMPARE(WriteDataCommand::missingPatientFields(zor), 0);

    RecordingOpener opener;
    const auto result = Calc::Analyse(zor, opener, messages);
    QVERIFY(result);
    QVERIFY(messages.messages.empty());
    QVERIFY(opener.flags.empty());
    // A right hip: the head lies right of the axis on the film.
    QCOMPARE(result->side, std::string("R"));
    // 62 px at 4 px/mm over a 14 mm radius: a film magnification of 1.107.
    QVERIFY(qAbs(result->factorHead - 15.5 / 14.0) < 1e-6);
    QVERIFY(qAbs(result->valgusVarus) < 3.0);
    for (double x : result->medial)
        QVERIFY(x > 2.0 && x < 40.0);
    for (size_t i = 1; i < 5; ++i)
        QVERIFY(result->lateral[i] > 5.0 && result->lateral[i] < 40.0);
    QVERIFY(result->cementValid);
    // The marker lies 42 px (10.5 mm) below the tip, on the axis.
    QVERIFY(qAbs(result->cementSubsidence - 10.5) < 1e-6);
}

void TestDemoCase::writeDataWorksAtOnce()
{
    QTemporaryDir tmp;
    const QString image = DemoCase::ensure(tmp.path(), nullptr);
    CZor zor;
    RecordingMessages messages;
    const std::string landmarkFile = *BinFile::LandmarkPath(image.toStdString());
    QVERIFY(
        BinFile::ReadLandmarkFile(landmarkFile, DemoCase::width, DemoCase::height, zor, messages));
    RecordingOpener opener;
    const FixedClock clock({2026, 1, 2});
    QCOMPARE(WriteDataCommand::run(zor, image.toStdString(), messages, clock, opener),
             WriteDataCommand::Outcome::Written);
    // The report lands in the demo folder, nowhere else.
    QVERIFY(QFileInfo::exists(tmp.filePath("demo-study.zor")));
    QCOMPARE(messages.messages.size(), size_t(1));
    QCOMPARE(messages.messages.front().caption, std::string("Zor"));
}

void TestDemoCase::keepsAnExistingLandmarkFile()
{
    QTemporaryDir tmp;
    const QString image = DemoCase::ensure(tmp.path(), nullptr);
    const QString bit = tmp.filePath(DemoCase::landmarkName);
    CZor zor;
    DemoCase::fillCase(zor);
    zor.Patient.Famname = "Corrected";
    QVERIFY(BinFile::WriteLandmarkFile(bit.toStdString(), zor));
    const QByteArray corrected = readAll(bit);
    QCOMPARE(DemoCase::ensure(tmp.path(), nullptr), image);
    QCOMPARE(readAll(bit), corrected);
    // A lost landmark file is made again.
    QVERIFY(QFile::remove(bit));
    QCOMPARE(DemoCase::ensure(tmp.path(), nullptr), image);
    QVERIFY(QFileInfo::exists(bit));
    QVERIFY(readAll(bit) != corrected);
}

void TestDemoCase::reportsAFolderItCannotMake()
{
    QTemporaryDir tmp;
    QFile blocker(tmp.filePath("file"));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    QString error;
    QVERIFY(DemoCase::ensure(tmp.filePath("file/demo"), &error).isEmpty());
    QVERIFY(error.contains("file/demo"));
}

void TestDemoCase::landmarksSitOnThePicture()
{
    const QImage film = DemoCase::drawRadiograph();
    const DemoCase::Landmarks& l = DemoCase::landmarks();
    // Metal is the brightest: the head centre and the stem along its axis.
    QVERIFY(grey(film, l.headCenter) > 215);
    for (double t : {0.3, 0.4, 0.5})
        QVERIFY(grey(film, l.axis.pointAt(t)) > 200);
    // The head points on its rim: metal inside, darker outside.
    for (const QPointF& p : l.headPoints) {
        const QPointF out = p + (p - l.headCenter) * 0.25;
        const QPointF in = p - (p - l.headCenter) * 0.25;
        QVERIFY(grey(film, in) - grey(film, out) > 40);
    }
    // The femur points on the outer cortex: bone inside, soft tissue outside.
    for (int i = 0; i < 8; ++i) {
        const QPointF across = l.femurPoints[size_t(i ^ 1)] - l.femurPoints[size_t(i)];
        const QPointF step = across / std::hypot(across.x(), across.y()) * 6.0;
        QVERIFY2(grey(film, l.femurPoints[size_t(i)] + step) -
                         grey(film, l.femurPoints[size_t(i)] - step) >
                     25,
                 qPrintable(QString::number(i)));
    }
}

void TestDemoCase::radiographIsTheSameEveryTime()
{
    QCOMPARE(DemoCase::drawRadiograph(), DemoCase::drawRadiograph());
}

QTEST_MAIN(TestDemoCase)
#include "tst_democase.moc"
