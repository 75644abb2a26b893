#include "app/cli/SeriesOptions.h"

#include <charconv>
#include <cmath>
#include <functional>
#include <map>

namespace {

constexpr int kMaxPixels = 32767;

template <typename T> bool parseNumber(const std::string& s, T& v)
{
    auto res = std::from_chars(s.data(), s.data() + s.size(), v);
    return !s.empty() && res.ec == std::errc() && res.ptr == s.data() + s.size();
}

bool parseSize(const std::string& s, int& w, int& h)
{
    size_t x = s.find('x');
    return x != std::string::npos && parseNumber(s.substr(0, x), w) &&
           parseNumber(s.substr(x + 1), h) && w > 0 && h > 0 && w <= kMaxPixels && h <= kMaxPixels;
}

// What each option does with its value; false with *why for a bad value.
using Setter = std::function<bool(const std::string&, std::string&)>;

Setter nonNegative(double& field, const char* what)
{
    return [&field, what](const std::string& v, std::string& why) {
        double d = 0.0;
        if (!parseNumber(v, d) || !std::isfinite(d) || d < 0.0) {
            why = std::string("wants ") + what + ", not '" + v + "'";
            return false;
        }
        field = d;
        return true;
    };
}

Setter count(int& field, int low, int high)
{
    return [&field, low, high](const std::string& v, std::string& why) {
        int n = 0;
        if (!parseNumber(v, n) || n < low || n > high) {
            why = "wants a whole number from " + std::to_string(low) + " to " +
                  std::to_string(high) + ", not '" + v + "'";
            return false;
        }
        field = n;
        return true;
    };
}

template <typename Seed> Setter seedOf(Seed& field)
{
    return [&field](const std::string& v, std::string& why) {
        unsigned long long n = 0;
        if (!parseNumber(v, n)) {
            why = "wants a whole number, not '" + v + "'";
            return false;
        }
        field = static_cast<Seed>(n);
        return true;
    };
}

Setter textOf(std::string& field)
{
    return [&field](const std::string& v, std::string& why) {
        if (v.empty()) {
            why = "wants a name";
            return false;
        }
        field = v;
        return true;
    };
}

Setter optionalText(std::optional<std::string>& field)
{
    return [&field](const std::string& v, std::string& why) {
        if (v.empty()) {
            why = "wants a file name";
            return false;
        }
        field = v;
        return true;
    };
}

// The common shape of both commands: options with values (--name V or
// --name=V), switches, "--" and the rest as positional arguments.
bool parseArgs(const std::vector<std::string>& args, const std::map<std::string, Setter>& values,
               const std::map<std::string, bool*>& switches, std::vector<std::string>& rest,
               bool& help, const std::function<void(const std::string&)>& fail)
{
    bool optionsDone = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (optionsDone || a.empty() || a[0] != '-' || a == "-") {
            rest.push_back(a);
            continue;
        }
        if (a == "--") {
            optionsDone = true;
            continue;
        }
        if (a == "--help" || a == "-h") {
            help = true;
            return true;
        }
        std::string name = a;
        std::optional<std::string> value;
        if (size_t eq = a.find('='); eq != std::string::npos) {
            name = a.substr(0, eq);
            value = a.substr(eq + 1);
        }
        if (auto s = switches.find(name); s != switches.end() && !value) {
            *s->second = true;
            continue;
        }
        auto v = values.find(name);
        if (v == values.end()) {
            fail("unknown option '" + a + "'");
            return false;
        }
        if (!value) {
            if (i + 1 >= args.size()) {
                fail(name + " needs a value");
                return false;
            }
            value = args[++i];
        }
        std::string why;
        if (!v->second(*value, why)) {
            fail(name + " " + why);
            return false;
        }
    }
    return true;
}

} // namespace

void SeriesOptions::usage(std::ostream& s)
{
    s << "usage: zor-cli series [--tolerance MM] [--width-tolerance PCT] [--threshold MM]\n"
         "                      [--click-sd PX] [--draws N] [--seed S] [--reference CASE]\n"
         "                      [--size WxH] [--csv FILE] [--summary FILE] [--excel]\n"
         "                      [--report OUT.pdf] PATH...\n"
         "\n"
         "Compares the films of each patient over time. PATH is a folder (every landmark\n"
         "file under it is a case, with the image of the same name beside it) or a case\n"
         "(an image with its .bit landmark file beside it, or a .bit file). Cases are\n"
         "grouped into series by patient (\"Study - ID\", else name and first name) and\n"
         "side. Each film is analysed as \"Write Data\" does (nothing is written) and its\n"
         "lengths are multiplied by true head radius / measured head radius.\n"
         "\n"
         "Against the reference film (the earliest, or --reference): subsidence (mean of\n"
         "the four subsidence values, positive when the stem has sunk), tilt (positive\n"
         "into varus on either side), each with its 95 % error bar from the clicking\n"
         "noise; whether the film is comparable, and why not.\n"
         "\n"
         "options:\n"
         "  --tolerance MM        largest change of comp-y (1), comp-y (2) and comp-x for a\n"
         "                        comparable film (default 2.0)\n"
         "  --width-tolerance PCT largest mean change of the femur widths (default 3.0)\n"
         "  --threshold MM        subsidence 18-30 months after the reference that is\n"
         "                        flagged (default 1.5)\n"
         "  --click-sd PX         standard deviation of a click in image pixels (default 1.0)\n"
         "  --draws N             Monte-Carlo draws per film (default 400)\n"
         "  --seed S              seed of the draws (default 1), for reproducible error bars\n"
         "  --reference CASE      the reference film of its series, as listed or as a path\n"
         "  --size WxH            image size in pixels for landmark files without an image\n"
         "  --csv FILE            one row per film (columns: see the README)\n"
         "  --summary FILE        one row per series\n"
         "  --excel               CSV files for European spreadsheets: byte-order mark,\n"
         "                        semicolons, decimal commas\n"
         "  --report OUT.pdf      the series report of the study window for every series:\n"
         "                        plots, film table, settings, left-out cases\n"
         "  --help                this text\n"
         "\n"
         "exit status: 0 every case was read, 1 a case was left out (listed with its\n"
         "reason) or a file could not be written, 2 usage error\n";
}

std::optional<SeriesOptions> SeriesOptions::parse(const std::vector<std::string>& args,
                                                  std::ostream& err)
{
    SeriesOptions o;
    std::string size;
    Series::Settings& s = o.settings;
    const std::map<std::string, Setter> values = {
        {"--tolerance", nonNegative(s.tolerance, "millimetres")},
        {"--width-tolerance", nonNegative(s.widthTolerance, "a percentage")},
        {"--threshold", nonNegative(s.threshold, "millimetres")},
        {"--click-sd", nonNegative(s.clickSd, "pixels")},
        {"--draws", count(s.draws, 2, 1000000)},
        {"--seed", seedOf(s.seed)},
        {"--reference", textOf(s.reference)},
        {"--size", textOf(size)},
        {"--csv", optionalText(o.csv)},
        {"--summary", optionalText(o.summary)},
        {"--report", optionalText(o.report)},
    };
    auto fail = [&](const std::string& why) {
        err << "zor-cli series: " << why << "\n"
            << "'zor-cli series --help' explains the command.\n";
    };
    if (!parseArgs(args, values, {{"--excel", &o.excel}}, o.paths, o.help, fail))
        return std::nullopt;
    if (o.help)
        return o;
    if (!size.empty() && !parseSize(size, o.width, o.height)) {
        fail("--size wants WxH in pixels (1 to 32767), not '" + size + "'");
        return std::nullopt;
    }
    if (o.paths.empty()) {
        fail("no PATH given");
        return std::nullopt;
    }
    return o;
}

void PhantomOptions::usage(std::ostream& s)
{
    s << "usage: zor-cli phantom --out DIR [--patients N] [--films N] [--seed S]\n"
         "                       [--click-sd PX] [--no-images]\n"
         "\n"
         "Writes a synthetic study with known truth into DIR: per patient a series of\n"
         "films (0, 3, 6, 12 months, then yearly) of a stem sinking along the femoral\n"
         "axis by one of four curves (stable, early then stable, early and continuing,\n"
         "late onset), some also turning into varus; each film at its own magnification\n"
         "(1.15-1.22) and in-plane rotation (+-3 degrees), some tilted out of plane by\n"
         "8-15 degrees so that they are not comparable. The landmark files hold the\n"
         "true landmarks plus Gaussian click noise; DIR/truth.csv gives the truth.\n"
         "\n"
         "options:\n"
         "  --out DIR        the folder to write (created when missing)\n"
         "  --patients N     number of patients (default 10)\n"
         "  --films N        films per patient (default 6)\n"
         "  --seed S         seed of the study (default 1)\n"
         "  --click-sd PX    click noise in image pixels (default 1.0)\n"
         "  --no-images      write no images; `zor-cli series` then needs --size 1400x2900\n"
         "  --help           this text\n"
         "\n"
         "exit status: 0 written, 1 a file could not be written, 2 usage error\n";
}

std::optional<PhantomOptions> PhantomOptions::parse(const std::vector<std::string>& args,
                                                    std::ostream& err)
{
    PhantomOptions o;
    bool noImages = false;
    const std::map<std::string, Setter> values = {
        {"--out", textOf(o.out)},
        {"--patients", count(o.patients, 1, 10000)},
        {"--films", count(o.films, 1, 40)},
        {"--seed", seedOf(o.seed)},
        {"--click-sd", nonNegative(o.clickSd, "pixels")},
    };
    auto fail = [&](const std::string& why) {
        err << "zor-cli phantom: " << why << "\n"
            << "'zor-cli phantom --help' explains the command.\n";
    };
    std::vector<std::string> rest;
    if (!parseArgs(args, values, {{"--no-images", &noImages}}, rest, o.help, fail))
        return std::nullopt;
    if (o.help)
        return o;
    if (!rest.empty()) {
        fail("unexpected argument '" + rest.front() + "'");
        return std::nullopt;
    }
    if (o.out.empty()) {
        fail("no --out DIR given");
        return std::nullopt;
    }
    o.images = !noImages;
    return o;
}
