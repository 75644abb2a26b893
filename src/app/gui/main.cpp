#include "app/gui/GuiOptions.h"
#include "app/gui/Screenshot.h"
#include "shell/DemoCase.h"
#include "shell/QtUserMessages.h"
#include "shell/StartupForm.h"

#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QTimer>

#include <cstdio>

namespace {

int fail(const QString& text, int status)
{
    std::fprintf(stderr, "zor: %s\n", qPrintable(text));
    return status;
}

} // namespace

int main(int argc, char** argv)
{
    // Parsed before the application object exists: --help and --version
    // must answer without a display.
    QStringList args;
    for (int i = 1; i < argc; ++i)
        args << QString::fromLocal8Bit(argv[i]);
    const GuiOptions options = parseGuiOptions(args);
    if (!options.error.isEmpty())
        return fail(options.error + "\nTry 'zor --help'.", 2);
    if (options.help) {
        std::fputs(guiUsage(), stdout);
        return 0;
    }
    if (options.version) {
        std::printf("zor %s (OLTA-ZOR Release 2003 / SP2)\n", ZOR_VERSION);
        return 0;
    }

    QApplication app(argc, argv);
    QtUserMessages boxes;
    StderrMessages printed;
    setUserMessages(options.unattended() ? static_cast<UserMessages*>(&printed) : &boxes);
    if (options.noSplash)
        StartupForm::setSplashShown(true);

    QString image = options.image;
    if (!options.demoDir.isEmpty()) {
        QString error;
        image = DemoCase::ensure(options.demoDir, &error);
        if (image.isEmpty())
            return fail(error, 1);
    }

    QLabel placeholder(image.isEmpty() ? QString("zor") : image);
    placeholder.setWindowTitle(image);
    StartupForm::showSplashOnce(&placeholder);
    placeholder.resize(1000, 700);
    placeholder.show();
    if (!options.screenshot.isEmpty())
        saveScreenshotAndQuit(&placeholder, options.screenshot);
    return app.exec();
}
