#include "app/cli/AnalyseOptions.h"

#include <charconv>
#include <chrono>

namespace {

constexpr int kMaxPixels = 32767;

bool parseInt(const std::string& s, int& v)
{
    auto res = std::from_chars(s.data(), s.data() + s.size(), v);
    return res.ec == std::errc() && res.ptr == s.data() + s.size();
}

std::optional<CalendarDate> dateOf(const std::string& s)
{
    int y = 0;
    int m = 0;
    int d = 0;
    if (s.size() != 10 || s[4] != '-' || s[7] != '-' || !parseInt(s.substr(0, 4), y) ||
        !parseInt(s.substr(5, 2), m) || !parseInt(s.substr(8, 2), d))
        return std::nullopt;
    std::chrono::year_month_day ymd{std::chrono::year(y), std::chrono::month(unsigned(m)),
                                    std::chrono::day(unsigned(d))};
    if (y < 1 || m < 1 || d < 1 || !ymd.ok())
        return std::nullopt;
    return CalendarDate{y, m, d};
}

bool parseSize(const std::string& s, int& w, int& h)
{
    size_t x = s.find('x');
    return x != std::string::npos && parseInt(s.substr(0, x), w) && parseInt(s.substr(x + 1), h) &&
           w > 0 && h > 0 && w <= kMaxPixels && h <= kMaxPixels;
}

} // namespace

void AnalyseOptions::usage(std::ostream& s)
{
    s << "usage: zor-cli analyse [--report FILE] [--today YYYY-MM-DD] [--size WxH] CASE...\n"
         "\n"
         "Does for each stored case what \"Write Data\" does, without a window: checks\n"
         "the patient data, runs the analysis and appends the report record. Landmark\n"
         "files are read, never rewritten.\n"
         "\n"
         "CASE is an image (BMP, JPEG, GIF, ...) whose landmark file lies beside it\n"
         "(the image path up to its last \".\" plus \".bit\"; the image size comes from\n"
         "the image header), or a .bit landmark file, which needs --size.\n"
         "\n"
         "The record goes to the patient's report file, \"Data File\" + \".zor\"; a\n"
         "relative entry lies in the folder of the case.\n"
         "\n"
         "options:\n"
         "  --report FILE        append every record to FILE instead; FILE, as given,\n"
         "                       is also the file name in the record's first line, and\n"
         "                       the cases need no \"Data File\" entry\n"
         "  --today YYYY-MM-DD   the report date (default: today), for reproducible output\n"
         "  --size WxH           image width and height in pixels for .bit cases\n"
         "  --help               this text\n"
         "\n"
         "A case fails when its landmark file is missing or damaged, when the date of\n"
         "the radiograph, the name, the first name or the data file is missing (the\n"
         "message names them), when the analysis refuses it or the report cannot be\n"
         "written; the other cases are still done.\n"
         "\n"
         "Messages go to stderr as \"caption: text\" (the lines of a message joined by\n"
         "\" / \"), the confirmation \"Zor: Data written to FILE\" to stdout.\n"
         "\n"
         "exit status: 0 every case written, 1 any case failed, 2 usage error\n";
}

bool AnalyseOptions::isLandmarkFile(const std::string& path)
{
    return path.size() > 4 && path.compare(path.size() - 4, 4, ".bit") == 0;
}

std::optional<AnalyseOptions> AnalyseOptions::parse(const std::vector<std::string>& args,
                                                    std::ostream& err)
{
    AnalyseOptions o;
    auto fail = [&](const std::string& why) -> std::optional<AnalyseOptions> {
        err << "zor-cli analyse: " << why << "\n"
            << "'zor-cli analyse --help' explains the command.\n";
        return std::nullopt;
    };
    bool optionsDone = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (optionsDone || a.empty() || a[0] != '-' || a == "-") {
            o.cases.push_back(a);
            continue;
        }
        if (a == "--") {
            optionsDone = true;
            continue;
        }
        if (a == "--help" || a == "-h") {
            o.help = true;
            return o;
        }
        std::string name = a;
        std::optional<std::string> value;
        if (size_t eq = a.find('='); eq != std::string::npos) {
            name = a.substr(0, eq);
            value = a.substr(eq + 1);
        }
        if (name != "--report" && name != "--today" && name != "--size")
            return fail("unknown option '" + a + "'");
        if (!value) {
            if (i + 1 >= args.size())
                return fail(name + " needs a value");
            value = args[++i];
        }
        if (name == "--report") {
            if (value->empty())
                return fail("--report needs a file name");
            o.report = *value;
        } else if (name == "--today") {
            o.today = dateOf(*value);
            if (!o.today)
                return fail("--today wants a date YYYY-MM-DD, not '" + *value + "'");
        } else if (!parseSize(*value, o.width, o.height)) {
            return fail("--size wants WxH in pixels (1 to 32767), not '" + *value + "'");
        }
    }
    if (o.cases.empty())
        return fail("no CASE given");
    if (o.width == 0)
        for (const std::string& c : o.cases)
            if (isLandmarkFile(c))
                return fail("the landmark file " + c + " needs --size WxH");
    return o;
}

std::optional<CalendarDate> AnalyseOptions::parseDate(const std::string& s)
{
    return dateOf(s);
}
