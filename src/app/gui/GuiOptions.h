#pragma once

// The command line of the program `zor`. Header-only, so that the tests of
// the application can parse without linking the executable.

#include <QString>
#include <QStringList>

struct GuiOptions {
    bool help = false;
    bool version = false;
    bool noSplash = false;
    bool series = false; // --series: the study window over the first film's folder
    QString image;       // opened at start instead of asking
    QString demoDir;     // --demo DIR
    QString screenshot;  // --screenshot OUT: save the first window, then quit
    QString error;       // not empty: the command line is wrong

    // Starts without any question to a user: no splash, messages on stderr.
    bool unattended() const { return !screenshot.isEmpty(); }
};

inline const char* guiUsage()
{
    return "Usage: zor [--no-splash] [IMAGE]\n"
           "       zor --demo DIR [--no-splash] [--series] [--screenshot OUT.png]\n"
           "Measures the position of a femoral hip stem on an AP radiograph.\n"
           "\n"
           "  IMAGE             open this image (BMP, JPEG, GIF, PNG or DICOM) at start,\n"
           "                    as if it had been chosen in the open dialog; it is\n"
           "                    remembered in Zor2.ini like a chosen one\n"
           "  --no-splash       do not show the splash window (for scripts)\n"
           "  --demo DIR        open the built-in demo case, a synthetic hip radiograph\n"
           "                    with a complete measurement, creating it in DIR when\n"
           "                    it is not there\n"
           "  --series          also open the study window over the folder of the film\n"
           "                    (as \"&Series ...\" does); with --screenshot its picture\n"
           "                    is saved, once the series are worked out\n"
           "  --screenshot OUT  save a picture of the window to OUT (PNG) once it is\n"
           "                    painted, then quit; implies --no-splash\n"
           "  --help            show this help and exit\n"
           "  --version         show the version and exit\n"
           "\n"
           "Without IMAGE or --demo the open dialog asks for an image.\n";
}

// `args` without the program name.
inline GuiOptions parseGuiOptions(const QStringList& args)
{
    GuiOptions o;
    bool optionsEnd = false;
    for (qsizetype i = 0; i < args.size() && o.error.isEmpty(); ++i) {
        const QString& a = args[i];
        auto value = [&](QString& target) {
            if (i + 1 >= args.size() || args[i + 1].isEmpty())
                o.error = QString("option '%1' needs a value").arg(a);
            else
                target = args[++i];
        };
        if (!optionsEnd && a == "--") {
            optionsEnd = true;
        } else if (!optionsEnd && (a == "--help" || a == "-h")) {
            o.help = true;
        } else if (!optionsEnd && a == "--version") {
            o.version = true;
        } else if (!optionsEnd && a == "--no-splash") {
            o.noSplash = true;
        } else if (!optionsEnd && a == "--series") {
            o.series = true;
        } else if (!optionsEnd && a == "--demo") {
            value(o.demoDir);
        } else if (!optionsEnd && a == "--screenshot") {
            value(o.screenshot);
        } else if (!optionsEnd && a.startsWith('-') && a.size() > 1) {
            o.error = QString("unknown option '%1'").arg(a);
        } else if (!o.image.isEmpty()) {
            o.error = "only one IMAGE can be opened at start";
        } else if (a.isEmpty()) {
            o.error = "the IMAGE path is empty";
        } else {
            o.image = a;
        }
    }
    if (o.error.isEmpty() && !o.image.isEmpty() && !o.demoDir.isEmpty())
        o.error = "give either IMAGE or --demo DIR, not both";
    if (o.error.isEmpty() && o.unattended() && o.image.isEmpty() && o.demoDir.isEmpty())
        o.error = "--screenshot needs IMAGE or --demo DIR";
    if (o.unattended())
        o.noSplash = true;
    return o;
}
