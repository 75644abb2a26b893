#include "app/cli/Cli.h"

#include <QGuiApplication>

#include <iostream>

int main(int argc, char** argv)
{
    // Image readers need a QGuiApplication; the command line never shows a
    // window, so it runs on the offscreen platform unless told otherwise.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    std::vector<std::string> args(argv + 1, argv + argc);
    return Cli::run(args, std::cout, std::cerr);
}
