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

    // Pixels (2, 2) the centre, (1, 2) its neighbour, (0, 0) a border pixel, (1, 1).
    void operations()
    {
        const struct {
            std::vector<std::string> ops;
            int centre, neighbour, corner, inner;
        } rows[] = {{{}, 255, 100, 100, 100}, // the blue channel only
                                              // 2 x 100 - (255 + 3 x 100) / 4 = 61.25
                    {{"--sharpen=1"}, 255, 61, 100, 100},
                    {{"--sharpen", "1", "--sharpen", "2", "--undo"}, 255, 61, 100, 100},
                    {{"--invert"}, 0, 155, 155, 155},
                    {{"--invert", "--brightness", "20"}, 255, 120, 120, 120}, // shown uninverted
                    {{"--contrast", "384", "--brightness", "-50"}, 255, 100, 100, 100},
                    {{"--brightness", "-256"}, 0, 0, 0, 0}};
        const std::string out = path("out.pgm");
        for (const auto& row : rows) {
            QFile::remove(QString::fromStdString(out));
            std::vector<std::string> args{input_.toStdString()};
            args.insert(args.end(), row.ops.begin(), row.ops.end());
            args.insert(args.end(), {"-o", out});
            const CliRun r = run(args);
            QVERIFY2(r.status == 0 && r.err.empty(), r.err.c_str());
            const QImage img = readBack(out);
            QCOMPARE(img.size(), QSize(5, 5));
            QCOMPARE(
                (QList<int>{grey(img, 2, 2), grey(img, 1, 2), grey(img, 0, 0), grey(img, 1, 1)}),
                (QList<int>{row.centre, row.neighbour, row.corner, row.inner}));
        }
    }

    // A width off a multiple of 4, so that row padding would show as stripes;
    // the format by the suffix, whatever its case.
    void formats()
    {
        QImage grey7(7, 3, QImage::Format_Grayscale8);
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 7; ++x)
                grey7.scanLine(y)[x] = uchar(x * 30 + y * 7);
        const std::string in = path("grey7.png");
        QVERIFY(grey7.save(QString::fromStdString(in)));
        for (const char* name : {"shown.pgm", "SHOWN.PNG"}) {
            QCOMPARE(run({in, "--invert", "-o", path(name)}).status, 0);
            const QImage back = readBack(path(name));
            QCOMPARE(back.size(), QSize(7, 3));
            for (int y = 0; y < 3; ++y)
                for (int x = 0; x < 7; ++x)
                    QCOMPARE(grey(back, x, y), 255 - (x * 30 + y * 7));
        }
        QFile f(dir_.filePath("shown.pgm"));
        QVERIFY(f.open(QIODevice::ReadOnly) && f.read(2) == "P5");
    }

    void usageErrors()
    {
        const std::string in = input_.toStdString(), o = path("o.pgm");
        const std::pair<std::vector<std::string>, const char*> rows[] = {
            {{in, "--brightness", "257", "-o", o}, "--brightness takes an offset from -256 to 256"},
            {{in, "--sharpen", "4", "-o", o}, "--sharpen takes a strength from 1 to 3"},
            {{in, "--brightness", "1x", "-o", o}, "not '1x'"},
            {{in, "-o", o, "--contrast"}, "--contrast needs a value"},
            {{in, "--invert"}, "no output file"},
            {{in, "other.png", "-o", o}, "only one image"},
            {{in, "-o", path("o.xyz")}, "o.xyz'"}};
        for (const auto& [args, message] : rows) {
            const CliRun r = run(args);
            QCOMPARE(r.status, 2);
            QVERIFY2(contains(r.err, message), r.err.c_str());
            QVERIFY(!QFile::exists(QString::fromStdString(o)));
        }
    }

    void failures()
    {
        QImage wide(32768, 1, QImage::Format_Grayscale8);
        wide.fill(9);
        QVERIFY(wide.save(dir_.filePath("wide.png")));
        for (auto [input, output, message] :
             {std::tuple{"missing.png", "o.pgm", "cannot read the file"},
              {"wide.png", "o.pgm", "32768 x 1 pixels"},
              {"case.png", "no/such/dir/o.pgm", "cannot write"}}) {
            const CliRun r = run({path(input), "-o", path(output)});
            QCOMPARE(r.status, 1);
            QVERIFY2(contains(r.err, message), r.err.c_str());
        }
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
