// `zor-cli info`: what the loader finds, as text and as JSON.
#include "../support/CliRun.h"
#include "../support/DicomTestFile.h"

#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTest>

class TestCliInfo : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;
    std::string film_;
    std::string bmp_;

private slots:
    void initTestCase()
    {
        film_ = dir_.filePath("film").toStdString(); // DICOM without a name extension
        DicomTestFilm f;
        f.tags = {{DCM_PixelSpacing, "0.139\\0.139"}, {DCM_PixelSpacingCalibrationType, "GEOMETRY"},
                  {DCM_WindowCenter, "2000"},         {DCM_WindowWidth, "3000"},
                  {DCM_PatientName, "Doe^Jane"},      {DCM_PatientID, "ST-7"},
                  {DCM_StudyDate, "20240105"},        {DCM_ImageLaterality, "L"}};
        writeDicomTestFilm(film_, f);
        bmp_ = dir_.filePath("plain.bmp").toStdString();
        QImage image(30, 20, QImage::Format_Grayscale8);
        image.fill(7);
        QVERIFY(image.save(QString::fromStdString(bmp_)));
    }

    void textPerFile()
    {
        const CliRun r = runCli({film_, bmp_}, "info");
        QCOMPARE(r.status, 0);
        QCOMPARE(r.err, std::string());
        QCOMPARE(r.out, film_ +
                            "\n"
                            "  kind: DICOM, Little Endian Explicit\n"
                            "  size: 48 x 40 pixels, 12 bits\n"
                            "  window: window 2000/3000\n"
                            "  scale: 0.139 mm/px, calibrated at the patient (DICOM)\n"
                            "  patient: Doe, Jane\n"
                            "  patient ID: ST-7\n"
                            "  date: 20240105\n"
                            "  laterality: L\n" +
                            bmp_ +
                            "\n"
                            "  kind: BMP\n"
                            "  size: 30 x 20 pixels, 8 bits\n"
                            "  scale: not calibrated (the 430 mm film default applies)\n");
    }

    void jsonForScriptsWithTheFailuresNamed()
    {
        const std::string missing = dir_.filePath("missing.dcm").toStdString();
        const CliRun r = runCli({"--json", film_, missing, bmp_}, "info");
        QCOMPARE(r.status, 1);
        QVERIFY(r.err.find(missing) != std::string::npos);
        const QJsonArray all = QJsonDocument::fromJson(QByteArray::fromStdString(r.out)).array();
        QCOMPARE(all.size(), 3);
        const QJsonObject dicom = all[0].toObject();
        QCOMPARE(dicom["kind"].toString(), QString("DICOM"));
        QCOMPARE(dicom["width"].toInt(), 48);
        QCOMPARE(dicom["mm_per_pixel"].toDouble(), 0.139);
        QCOMPARE(dicom["scale_source"].toString(), QString("calibrated at the patient (DICOM)"));
        QCOMPARE(dicom["family_name"].toString(), QString("Doe"));
        QCOMPARE(dicom["laterality"].toString(), QString("L"));
        QVERIFY(all[1].toObject()["error"].toString().contains("no such file"));
        QVERIFY(all[2].toObject()["mm_per_pixel"].isNull());
    }
};

QTEST_GUILESS_MAIN(TestCliInfo)
#include "tst_cli_info.moc"
