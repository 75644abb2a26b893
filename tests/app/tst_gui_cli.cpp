#include "app/gui/GuiOptions.h"

#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString zorBinary = QStringLiteral(ZOR_BINARY_DIR "/src/app/zor");

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
    p.start(zorBinary, args);
    Run r;
    if (!p.waitForFinished(60000)) {
        p.kill();
        p.waitForFinished();
        return r;
    }
    r.status = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -2;
    r.out = QString::fromLocal8Bit(p.readAllStandardOutput());
    r.err = QString::fromLocal8Bit(p.readAllStandardError());
    return r;
}

QString lastPath(const QString& home)
{
    QSettings ini(home + "/config/Zor2.ini", QSettings::IniFormat);
    return ini.value("LastPath/Path").toString();
}

} // namespace

class TestGuiCli : public QObject {
    Q_OBJECT

private slots:
    void parses();
    void answersWithoutAWindow();
    void opensTheImageItIsGiven();
    void unloadableImageEndsWithAnError();
    void demoCaseOpens();
};

void TestGuiCli::parses()
{
    const struct {
        QStringList args;
        QString image;
        bool noSplash;
        QString demo, error; // a part of the message
    } rows[] = {{{"a.jpg"}, "a.jpg", false, "", ""},
                {{"--no-splash", "a.jpg"}, "a.jpg", true, "", ""},
                {{"--", "-odd.bmp"}, "-odd.bmp", false, "", ""},
                {{"--demo", "d"}, "", false, "d", ""},
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
void TestGuiCli::answersWithoutAWindow()
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

// By its full path and relative to the working folder.
void TestGuiCli::opensTheImageItIsGiven()
{
    for (bool relative : {false, true}) {
        QTemporaryDir home;
        const QString image = home.filePath("case1.bmp");
        QImage film(64, 48, QImage::Format_Grayscale8);
        film.fill(128);
        QVERIFY(film.save(image));
        const QString shot = home.filePath("shot.png");
        const Run r =
            runZor({"--screenshot", shot, relative ? QString("case1.bmp") : image}, home.path());
        QVERIFY2(r.status == 0, qPrintable(r.err));
        // The window shows the image's path as its title...
        QVERIFY2(r.out.contains(QString("of the window \"%1\"").arg(image)), qPrintable(r.out));
        QVERIFY(!QImage(shot).isNull());
        // ...and the path is remembered as if it had been chosen in the dialog.
        QCOMPARE(lastPath(home.path()), image);
    }
}

void TestGuiCli::unloadableImageEndsWithAnError()
{
    QTemporaryDir home;
    const QString image = home.filePath("broken.jpg");
    QFile f(image);
    QVERIFY(f.open(QIODevice::WriteOnly) && f.write("not a picture") > 0);
    f.close();
    const QString shot = home.filePath("shot.png");
    const Run r = runZor({"--screenshot", shot, image}, home.path());
    QCOMPARE(r.status, 1);
    QVERIFY2(r.err.contains("load Error"), qPrintable(r.err));
    QVERIFY(!QFileInfo::exists(shot));
    // Remembered before decoding, as a chosen file is.
    QCOMPARE(lastPath(home.path()), image);
}

void TestGuiCli::demoCaseOpens()
{
    QTemporaryDir home;
    const QString demo = home.filePath("demo");
    const QString shot = home.filePath("shot.png");
    const Run r = runZor({"--demo", demo, "--screenshot", shot}, home.path());
    QVERIFY2(r.status == 0, qPrintable(r.err));
    const QString image = demo + "/demo-hip.bmp";
    QVERIFY(QFileInfo::exists(demo + "/demo-hip.bit"));
    QVERIFY2(r.out.contains(QString("of the window \"%1\"").arg(image)), qPrintable(r.out));
    QCOMPARE(QImage(shot).size(), QSize(1000, 700));
}

QTEST_MAIN(TestGuiCli)
#include "tst_gui_cli.moc"
