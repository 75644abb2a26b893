#include "app/cli/Cli.h"

#include <algorithm>

namespace Cli {

namespace {

void usage(std::ostream& s)
{
    s << "usage: zor-cli COMMAND [ARGS...]\n"
         "\n"
         "commands:\n"
         "  analyse   analyse stored cases and append their report records\n"
         "            analyse [--report FILE] [--today YYYY-MM-DD] [--size WxH] CASE...\n"
         "  render    write an image with the image tools applied\n"
         "  info      what the image loader finds in films (size, scale, patient)\n"
         "            info [--json] FILE...\n"
         "  series    compare the films of each patient over time: migration, error bars\n"
         "  phantom   write a synthetic study with known migration\n"
         "  report    write the one-page PDF report of a film\n"
         "            report [--today YYYY-MM-DD] FILM -o OUT.pdf\n"
         "\n"
         "'zor-cli COMMAND --help' explains a command.\n";
}

} // namespace

bool needsFonts(const std::vector<std::string>& args)
{
    if (args.empty())
        return false;
    if (args.front() == "report")
        return true;
    // The phantom's films carry a printed label.
    if (args.front() == "phantom")
        return std::find(args.begin(), args.end(), "--no-images") == args.end();
    for (const std::string& a : args)
        if (a == "--report" || a.rfind("--report=", 0) == 0)
            return args.front() == "series";
    return false;
}

int run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    if (args.empty()) {
        usage(err);
        return 2;
    }
    const std::string& command = args.front();
    std::vector<std::string> rest(args.begin() + 1, args.end());
    if (command == "--help" || command == "-h" || command == "help") {
        usage(out);
        return 0;
    }
    if (command == "--version") {
        out << "zor-cli " << ZOR_VERSION << '\n';
        return 0;
    }
    if (command == "analyse")
        return analyse(rest, out, err);
    if (command == "render")
        return render(rest, out, err);
    if (command == "info")
        return info(rest, out, err);
    if (command == "series")
        return series(rest, out, err);
    if (command == "phantom")
        return phantom(rest, out, err);
    if (command == "report")
        return report(rest, out, err);
    err << "zor-cli: unknown command '" << command << "'\n";
    usage(err);
    return 2;
}

} // namespace Cli
