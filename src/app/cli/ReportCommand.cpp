#include "app/cli/AnalyseOptions.h"
#include "app/cli/Cli.h"
#include "report/FilmReport.h"

namespace Cli {

namespace {

void reportUsage(std::ostream& s)
{
    s << "usage: zor-cli report [--today YYYY-MM-DD] FILM -o OUT.pdf\n"
         "\n"
         "Writes the film report of \"&Film Report ...\" without a window: one A4 page\n"
         "with the film and its landmarks, the patient, the radiograph date, the scale\n"
         "and its source, the film's parameters and the date of printing.\n"
         "\n"
         "FILM is an image whose landmark file lies beside it.\n"
         "\n"
         "options:\n"
         "  -o, --output FILE    the PDF to write (replaced whole)\n"
         "  --today YYYY-MM-DD   the date of printing (default: today)\n"
         "  --help               this text\n"
         "\n"
         "exit status: 0 written, 1 the film or the PDF failed, 2 usage error\n";
}

} // namespace

int report(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    std::string film;
    std::string output;
    std::optional<CalendarDate> today;
    auto fail = [&](const std::string& why) {
        err << "zor-cli report: " << why << "\nTry 'zor-cli report --help'.\n";
        return 2;
    };
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--help" || a == "-h") {
            reportUsage(out);
            return 0;
        }
        if (a == "-o" || a == "--output" || a == "--today") {
            if (i + 1 >= args.size())
                return fail(a + " needs a value");
            const std::string& value = args[++i];
            if (a == "--today") {
                today = AnalyseOptions::parseDate(value);
                if (!today)
                    return fail("--today wants a date YYYY-MM-DD, not '" + value + "'");
            } else {
                output = value;
            }
        } else if (!a.empty() && a[0] == '-') {
            return fail("unknown option '" + a + "'");
        } else if (!film.empty()) {
            return fail("one FILM only");
        } else {
            film = a;
        }
    }
    if (film.empty())
        return fail("no FILM given");
    if (output.empty())
        return fail("no output file (-o OUT.pdf)");

    FilmReport::Film page;
    std::string error;
    if (!FilmReport::load(film, page, error)) {
        err << "zor-cli report: " << error << '\n';
        return 1;
    }
    page.printed = today ? *today : SystemClock().today();
    if (!FilmReport::writePdf(output, page, error)) {
        err << "zor-cli report: " << error << '\n';
        return 1;
    }
    out << "film report written to " << output << '\n';
    return 0;
}

} // namespace Cli
