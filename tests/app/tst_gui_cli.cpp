#include "../support/TempDir.h"
#include "app/gui/GuiOptions.h"

#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

namespace {

struct Run {
    int status = -1;
    QString out;
    QString err;
};

// Runs zor with a private home and configuration folder. `platform` "" means
// no display at all: a window could not open.
Run runZor(const QStringList& args, const QString& home, const QString& platform = "offscreen")
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("HOME", home);
    env.insert("XDG_CONFIG_HOME", home + "/config");
    env.insert("XDG_RUNTIME_DIR", home);
    env.remove("DISPLAY");
    env.remove("WAYLAND_DISPLAY");
    env.insert("QT_QPA_PLATFORM", platform.isEmpty() ? QString("xcb") : platform);
    QProcess p;
    p.setProcessEnvironment(env);
    p.setWorkingDirectory(home);
    p.start(QStringLiteral(ZOR_BINARY_DIR "/src/app/zor"), args);
    if (!p.waitForFinished(60000))
        return {}; // the process goes with `p`
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -2,
            QString::fromLocal8Bit(p.readAllStandardOutput()),
            QString::fromLocal8Bit(p.readAllStandardError())};
}

} // namespace

class TestGuiCli : public QObject {
    Q_OBJECT

private slots:
    void parses()
    {
        const struct {
            QStringList args;
            QString image;
            bool noSplash;
            QString demo, error; // a part of the message
        } rows[] = {{{"--no-splash", "a.jpg"}, "a.jpg", true, "", ""},
                    {{"--", "-odd.bmp"}, "-odd.bmp", false, "", ""},
                    {{"--demo", "d", "--screenshot", "s.png"}, "", true, "d", ""},
                    {{"--splash"}, "", false, "", "unknown option '--splash'"},
                    {{"a.jpg", "b.jpg"}, "a.jpg", false, "", "only one IMAGE"},
                    {{"--demo", "d", "a.jpg"}, "a.jpg", false, "d", "not both"}};
        for (const auto& row : rows) {
            const GuiOptions o = parseGuiOptions(row.args);
            QCOMPARE(o.image, row.image);
            QCOMPARE(o.noSplash, row.noSplash);
            QCOMPARE(o.demoDir, row.demo);
            QVERIFY2(row.error.isEmpty() ? o.error.isEmpty() : o.error.contains(row.error),
                     qPrintable(o.error));
        }
    }

    // No display: had it tried to open a window, it would have failed.
    void answersWithoutAWindow()
    {
        QTemporaryDir home;
        for (auto [option, start] : {std::pair{"--help", "Usage: zor [--no-splash] [IMAGE]"},
                                     {"--version", "zor " ZOR_VERSION_TEXT}}) {
            const Run r = runZor({option}, home.path(), "");
            QCOMPARE(r.status, 0);
            QVERIFY2(r.out.startsWith(start) && r.err.isEmpty(), qPrintable(r.out + r.err));
        }
        QVERIFY(!QFileInfo::exists(home.filePath("config/Zor2.ini")));
        const Run wrong = runZor({"--bogus"}, home.path(), "");
        QCOMPARE(wrong.status, 2);
        QVERIFY(wrong.out.isEmpty() && wrong.err.contains("zor --help"));
    }

    // An image relative to the working folder, and one that does not load (`make run` opens the
    // demo case in test-run-demo.sh). Paths are relative to the home folder.
    void startsWithTheFilmItIsGiven_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("image"); // the window's title; remembered as chosen
        QTest::addColumn<QString>("error");
        QTest::newRow("relative") << QStringList{"case1.bmp"} << 0 << "case1.bmp"
                                  << "";
        // Remembered before decoding, as a chosen file is.
        QTest::newRow("unloadable") << QStringList{"$/broken.jpg"} << 1 << "broken.jpg"
                                    << "load Error";
    }
    void startsWithTheFilmItIsGiven()
    {
        QFETCH(QStringList, args);
        QFETCH(int, status);
        QFETCH(QString, image);
        QFETCH(QString, error);
        QTemporaryDir home;
        QImage film(64, 48, QImage::Format_Grayscale8);
        film.fill(128);
        QVERIFY(film.save(home.filePath("case1.bmp")));
        TempDir::write(home.filePath("broken.jpg").toStdString(), "not a picture");
        image = home.filePath(image);
        const QString shot = home.filePath("shot.png");
        const Run r =
            runZor(args.replaceInStrings("$", home.path()) << "--screenshot" << shot, home.path());
        QCOMPARE(r.status, status);
        QVERIFY2(r.err.contains(error), qPrintable(r.err));
        QCOMPARE(r.out.contains(QString("of the window \"%1\"").arg(image)), status == 0);
        QCOMPARE(QFileInfo::exists(shot) ? QImage(shot).size() : QSize(),
                 status == 0 ? QSize(1000, 700) : QSize());
        QSettings ini(home.filePath("config/Zor2.ini"), QSettings::IniFormat);
        QCOMPARE(ini.value("LastPath/Path").toString(), image);
    }
};

QTEST_MAIN(TestGuiCli)
#include "tst_gui_cli.moc"
