#include "../support/CliRun.h"

#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

// `zor-cli render` run in-process on small images whose results are worked
// out by hand.
class TestCliRender : public QObject {
    Q_OBJECT

private:
    QTemporaryDir dir_;
    QString input_;

    static CliRun run(std::vector<std::string> args) { return runCli(std::move(args), "render"); }

    std::string path(const char* name) const { return dir_.filePath(name).toStdString(); }

    // A 5 x 5 picture at grey 100 with a bright centre, stored in colour:
    // only its blue channel may count.
    static QImage sample()
    {
        QImage img(5, 5, QImage::Format_RGB32);
        for (int y = 0; y < 5; ++y)
            for (int x = 0; x < 5; ++x)
                img.setPixel(x, y, qRgb(7, 240, 100));
        img.setPixel(2, 2, qRgb(0, 0, 255));
        return img;
    }

    static QImage readBack(const std::string& file)
    {
        return QImage(QString::fromStdString(file)).convertToFormat(QImage::Format_Grayscale8);
    }

    static int grey(const QImage& img, int x, int y) { return img.constScanLine(y)[x]; }

private slots:
    void initTestCase()
    {
        QVERIFY(dir_.isValid());
        input_ = dir_.filePath("case.png");
        QVERIFY(sample().save(input_));
    }

    void operations_data()
    {
        QTest::addColumn<QStringList>("ops");
        QTest::addColumn<int>("centre");
        QTest::addColumn<int>("neighbour"); // (1, 2)
        QTest::addColumn<int>("corner");    // (0, 0), a border pixel
        QTest::addColumn<int>("inner");     // (1, 1)

        QTest::newRow("blue channel only") << QStringList{} << 255 << 100 << 100 << 100;
        // 2 x 100 - (255 + 3 x 100) / 4 = 61.25
        QTest::newRow("sharpen") << QStringList{"--sharpen=1"} << 255 << 61 << 100 << 100;
        QTest::newRow("undo keeps the first of two")
            << QStringList{"--sharpen", "1", "--sharpen", "2", "--undo"} << 255 << 61 << 100 << 100;
        QTest::newRow("invert") << QStringList{"--invert"} << 0 << 155 << 155 << 155;
        QTest::newRow("brightness after invert shows uninverted")
            << QStringList{"--invert", "--brightness", "20"} << 255 << 120 << 120 << 120;
        QTest::newRow("contrast 384 then darker")
            << QStringList{"--contrast", "384", "--brightness", "-50"} << 255 << 100 << 100 << 100;
        QTest::newRow("brightness -256 black")
            << QStringList{"--brightness", "-256"} << 0 << 0 << 0 << 0;
    }

    void operations()
    {
        QFETCH(QStringList, ops);
        QFETCH(int, centre);
        QFETCH(int, neighbour);
        QFETCH(int, corner);
        QFETCH(int, inner);
        const std::string out = path("out.pgm");
        QFile::remove(QString::fromStdString(out));
        std::vector<std::string> args{input_.toStdString()};
        for (const QString& op : ops)
            args.push_back(op.toStdString());
        args.insert(args.end(), {"-o", out});
        const CliRun r = run(args);
        QCOMPARE(r.status, 0);
        QVERIFY2(r.err.empty(), r.err.c_str());
        const QImage img = readBack(out);
        QCOMPARE(img.size(), QSize(5, 5));
        QCOMPARE(grey(img, 2, 2), centre);
        QCOMPARE(grey(img, 1, 2), neighbour);
        QCOMPARE(grey(img, 0, 0), corner);
        QCOMPARE(grey(img, 1, 1), inner);
    }

    void formats_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("pgm") << "shown.pgm";
        QTest::newRow("upper-case suffix") << "SHOWN.PNG";
    }

    // A width off a multiple of 4, so that row padding would show as stripes.
    void formats()
    {
        QFETCH(QString, name);
        QImage grey7(7, 3, QImage::Format_Grayscale8);
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 7; ++x)
                grey7.scanLine(y)[x] = uchar(x * 30 + y * 7);
        const QString in = dir_.filePath("grey7.png");
        QVERIFY(grey7.save(in));
        const std::string out = dir_.filePath(name).toStdString();
        QCOMPARE(run({in.toStdString(), "--invert", "-o", out}).status, 0);
        const QImage back = readBack(out);
        QCOMPARE(back.size(), QSize(7, 3));
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 7; ++x)
                QCOMPARE(grey(back, x, y), 255 - (x * 30 + y * 7));
        if (name.endsWith(".pgm")) {
            QFile f(QString::fromStdString(out));
            QVERIFY(f.open(QIODevice::ReadOnly));
            QCOMPARE(f.read(2), QByteArray("P5"));
        }
    }

    void usageErrors_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("message");
        const QString in = "IN";
        QTest::newRow("brightness above") << QStringList{in, "--brightness", "257", "-o", "o.pgm"}
                                          << "--brightness takes an offset from -256 to 256";
        QTest::newRow("strength 4") << QStringList{in, "--sharpen", "4", "-o", "o.pgm"}
                                    << "--sharpen takes a strength from 1 to 3";
        QTest::newRow("not a number")
            << QStringList{in, "--brightness", "1x", "-o", "o.pgm"} << "not '1x'";
        QTest::newRow("value missing")
            << QStringList{in, "-o", "o.pgm", "--contrast"} << "--contrast needs a value";
        QTest::newRow("no output") << QStringList{in, "--invert"} << "no output file";
        QTest::newRow("two images")
            << QStringList{in, "other.png", "-o", "o.pgm"} << "only one image";
        QTest::newRow("unknown format") << QStringList{in, "-o", "o.xyz"} << "o.xyz'";
    }

    void usageErrors()
    {
        QFETCH(QStringList, args);
        QFETCH(QString, message);
        std::vector<std::string> a;
        for (QString s : args) {
            if (s == "IN")
                s = input_;
            else if (s.startsWith("o."))
                s = dir_.filePath(s);
            a.push_back(s.toStdString());
        }
        const CliRun r = run(a);
        QCOMPARE(r.status, 2);
        QVERIFY2(QString::fromStdString(r.err).contains(message), r.err.c_str());
        QVERIFY(!QFile::exists(dir_.filePath("o.pgm")));
    }

    void failures_data()
    {
        QTest::addColumn<QString>("input");
        QTest::addColumn<QString>("output");
        QTest::addColumn<QString>("message");
        QTest::newRow("missing image") << "missing.png"
                                       << "o.pgm"
                                       << "cannot read the file";
        QTest::newRow("too wide") << "wide.png"
                                  << "o.pgm"
                                  << "32768 x 1 pixels";
        QTest::newRow("unwritable") << "case.png"
                                    << "no/such/dir/o.pgm"
                                    << "cannot write";
    }

    void failures()
    {
        QFETCH(QString, input);
        QFETCH(QString, output);
        QFETCH(QString, message);
        QImage wide(32768, 1, QImage::Format_Grayscale8);
        wide.fill(9);
        QVERIFY(wide.save(dir_.filePath("wide.png")));
        const CliRun r =
            run({dir_.filePath(input).toStdString(), "-o", dir_.filePath(output).toStdString()});
        QCOMPARE(r.status, 1);
        QVERIFY2(QString::fromStdString(r.err).contains(message), r.err.c_str());
    }

    // A picture with transparency decodes to 32-bit ARGB; its blue byte counts as is.
    void transparentPixelsKeepTheirBlue()
    {
        QImage argb(2, 1, QImage::Format_ARGB32);
        argb.setPixel(0, 0, qRgba(10, 20, 30, 0));
        argb.setPixel(1, 0, qRgba(200, 100, 50, 128));
        const QString in = dir_.filePath("alpha.png");
        QVERIFY(argb.save(in));
        const std::string out = path("alpha.pgm");
        QCOMPARE(run({in.toStdString(), "-o", out}).status, 0);
        const QImage back = readBack(out);
        QCOMPARE(grey(back, 0, 0), 30);
        QCOMPARE(grey(back, 1, 0), 50);
    }

    // The program itself, with no window system and no desktop session, as
    // in a batch job: a JPEG still decodes, and stderr stays empty.
    void theProgramNeedsNoWindowSystemAndSaysNothingOfIt()
    {
        const QString jpeg = dir_.filePath("case.jpg");
        QVERIFY(sample().save(jpeg, "JPEG"));
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove("XDG_RUNTIME_DIR");
        env.remove("QT_QPA_PLATFORM");
        env.remove("DISPLAY");
        p.setProcessEnvironment(env);
        p.start(ZOR_BINARY_DIR "/src/app/zor-cli", {"render", jpeg, "-o", dir_.filePath("j.png")});
        QVERIFY(p.waitForFinished(60000));
        QCOMPARE(p.readAllStandardError(), QByteArray());
        QCOMPARE(p.exitCode(), 0);
        QCOMPARE(readBack(path("j.png")).size(), QSize(5, 5));
    }

    void helpPrintsUsage()
    {
        const CliRun r = run({"--help"});
        QCOMPARE(r.status, 0);
        QVERIFY(QString::fromStdString(r.out).startsWith("usage: zor-cli render IMAGE"));
        QVERIFY(r.err.empty());
    }
};

QTEST_MAIN(TestCliRender)
#include "tst_cli_render.moc"
