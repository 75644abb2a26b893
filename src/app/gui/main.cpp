#include "app/gui/GuiOptions.h"
#include "app/gui/Screenshot.h"
#include "shell/DemoCase.h"
#include "shell/MainForm.h"
#include "shell/PictureView.h"
#include "shell/QtUserMessages.h"
#include "shell/StartupForm.h"
#include "shell/StudyMenu.h"
#include "shell/StudyWindow.h"

#include <QAction>
#include <QApplication>
#include <QFileInfo>
#include <QTimer>

#include <cstdio>

namespace {

int fail(const QString& text, int status)
{
    std::fprintf(stderr, "zor: %s\n", qPrintable(text));
    return status;
}

// The first window. An image from the command line takes the place of the
// open dialog's answer: remembered in Zor2.ini, decoded, its landmark file
// read.
MainForm* openFirstWindow(const QString& image)
{
    return MainForm::startNewWindow(image.isEmpty() ? image : QFileInfo(image).absoluteFilePath());
}

// The demo film is taller than the window: zoom out ("Zoom -") until the
// whole measurement shows, once the picture area has its size.
void showWholeDemo(MainForm* window)
{
    QTimer::singleShot(0, window, [window] {
        QCoreApplication::sendPostedEvents();
        QAction* zoomOut = window->action("m_ZoomDown");
        for (int i = 0; zoomOut && i < 6 && window->PicBox()->height() > 0 &&
                        window->PicBox()->ScaleHeight() < window->Bitmap().H();
             ++i)
            zoomOut->trigger();
    });
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
    // Unattended runs must not wait for a click on a message box.
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

    MainForm* window = openFirstWindow(image);
    if (!window) {
        // Cancelling the first open dialog simply ends the program; an image
        // named on the command line that does not load is a failure.
        const int status = image.isEmpty() ? 0 : 1;
        setUserMessages(nullptr);
        return status;
    }
    if (!options.screenshot.isEmpty())
        window->resize(1000, 700);
    if (!options.demoDir.isEmpty())
        showWholeDemo(window);
    if (options.series) {
        StudyWindow* study = StudyMenu::openSeries(*window);
        if (study && !options.screenshot.isEmpty()) {
            study->resize(1360, 960);
            // The picture once the films have been measured and shown.
            QObject::connect(study, &StudyWindow::computed, study, [study, options] {
                saveScreenshotAndQuit(study, options.screenshot);
            });
        }
    } else if (!options.screenshot.isEmpty()) {
        saveScreenshotAndQuit(window, options.screenshot);
    }
    const int status = app.exec();
    setUserMessages(nullptr);
    return status;
}
