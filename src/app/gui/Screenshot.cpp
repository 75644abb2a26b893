#include "app/gui/Screenshot.h"

#include <QCoreApplication>
#include <QPixmap>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <cstdio>

void saveScreenshotAndQuit(QWidget* window, const QString& out)
{
    QPointer<QWidget> target(window);
    // Queued behind the first paint and the layout of the window: the
    // picture area learns its size from the first resize.
    QTimer::singleShot(200, [target, out] {
        if (!target) {
            std::fprintf(stderr, "zor: the window closed before its screenshot\n");
            QCoreApplication::exit(1);
            return;
        }
        const QPixmap picture = target->grab();
        // Quality 0 is the strongest compression for PNG.
        if (!picture.save(out, "PNG", 0)) {
            std::fprintf(stderr, "zor: cannot write %s\n", qPrintable(out));
            QCoreApplication::exit(1);
            return;
        }
        std::printf("zor: wrote %s (%dx%d) of the window \"%s\"\n", qPrintable(out),
                    picture.width(), picture.height(),
                    qPrintable(QString(target->windowTitle()).remove("[*]")));
        std::fflush(stdout);
        QCoreApplication::exit(0);
    });
}
