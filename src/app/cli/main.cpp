#include "app/cli/Cli.h"
#include "platform/UserMessages.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QString>

#include <exception>
#include <iostream>
#include <memory>

namespace {

QtMessageHandler qtHandler = nullptr;

// Qt Gui looks for a desktop session's runtime folder, which a run from cron
// or ssh lacks; its fallback serves, so the notice would only clutter the
// stderr that scripts read.
void withoutRuntimeNotice(QtMsgType type, const QMessageLogContext& context, const QString& text)
{
    if (!text.startsWith("QStandardPaths: XDG_RUNTIME_DIR not set"))
        qtHandler(type, context, text);
}

} // namespace

int main(int argc, char** argv)
{
    // The image plugins need only an application object, not a window
    // system: without a platform plugin nothing looks for a desktop session
    // (whose absence Qt reports on every start, "XDG_RUNTIME_DIR not set").
    std::vector<std::string> args(argv + 1, argv + argc);
    std::unique_ptr<QCoreApplication> app;
    if (Cli::needsFonts(args)) {
        // A PDF report draws text: Qt Gui with its fonts, still no window
        // system.
        qputenv("QT_QPA_PLATFORM", "offscreen");
        qtHandler = qInstallMessageHandler(withoutRuntimeNotice);
        app = std::make_unique<QGuiApplication>(argc, argv);
    } else {
        app = std::make_unique<QCoreApplication>(argc, argv);
    }
    // The one place where an exception of the core (a broken precondition,
    // memory exhausted) ends a command.
    try {
        return Cli::run(args, std::cout, std::cerr);
    } catch (const std::exception& e) {
        std::cerr << StderrMessages::oneLine("Error", e.what()) << '\n';
        return 1;
    }
}
