#include "app/cli/RenderOptions.h"

#include <charconv>

namespace {

struct Ranged {
    const char* name;
    RenderStep::Kind kind;
    int low;
    int high;
    const char* what;
};

// The ranges are those of the dialog's bars and of the sharpen menu.
const Ranged rangedOptions[] = {
    {"--sharpen", RenderStep::Kind::Sharpen, 1, 3, "a strength"},
    {"--brightness", RenderStep::Kind::Brightness, -256, 256, "an offset"},
    {"--contrast", RenderStep::Kind::Contrast, 0, 512, "a scale"},
};

bool parseInt(const std::string& text, int& value)
{
    const char* first = text.data();
    const char* last = first + text.size();
    if (first != last && *first == '+')
        ++first;
    const auto [end, ec] = std::from_chars(first, last, value);
    return ec == std::errc() && end == last && first != last;
}

} // namespace

const char* renderUsage()
{
    return "usage: zor-cli render IMAGE [--sharpen 1|2|3]... [--undo] [--invert]\n"
           "                      [--brightness OFFSET] [--contrast SCALE] -o OUT\n"
           "\n"
           "Loads IMAGE as the window does (its blue channel as grey levels), applies the\n"
           "operations in the order given and writes the grey levels as shown to OUT, in\n"
           "the format its extension names (.pgm, .png, .bmp, ...).\n"
           "\n"
           "  --sharpen N        sharpen: 1 sharpen, 2 sharpen more, 3 sharpen strong\n"
           "  --undo             undo the latest sharpening\n"
           "  --invert           invert the grey levels shown\n"
           "  --brightness OFF   brightness offset, -256 to 256 (0 is unchanged)\n"
           "  --contrast SCALE   contrast in 1/256, 0 to 512 (256 is unchanged)\n"
           "  -o, --output OUT   the file to write\n";
}

bool RenderOptions::parse(const std::vector<std::string>& args, RenderOptions& options,
                          std::string& error)
{
    options = RenderOptions{};
    bool outputSeen = false;
    for (std::size_t a = 0; a < args.size(); ++a) {
        std::string arg = args[a];
        std::string value;
        bool hasValue = false;
        if (arg.size() > 2 && arg.compare(0, 2, "--") == 0) {
            const auto eq = arg.find('=');
            if (eq != std::string::npos) {
                value = arg.substr(eq + 1);
                arg.resize(eq);
                hasValue = true;
            }
        }
        auto takeValue = [&]() {
            if (hasValue)
                return true;
            if (a + 1 >= args.size()) {
                error = arg + " needs a value";
                return false;
            }
            value = args[++a];
            return true;
        };
        if (arg == "--help" || arg == "-h") {
            options.help = true;
            return true;
        }
        if (arg == "-o" || arg == "--output") {
            if (!takeValue())
                return false;
            if (outputSeen) {
                error = "only one output file may be given";
                return false;
            }
            options.output = value;
            outputSeen = true;
            continue;
        }
        if (arg == "--undo" || arg == "--invert") {
            if (hasValue) {
                error = arg + " takes no value";
                return false;
            }
            options.steps.push_back(
                {arg == "--undo" ? RenderStep::Kind::Undo : RenderStep::Kind::Invert, 0});
            continue;
        }
        const Ranged* ranged = nullptr;
        for (const Ranged& r : rangedOptions)
            if (arg == r.name)
                ranged = &r;
        if (ranged) {
            if (!takeValue())
                return false;
            int v = 0;
            if (!parseInt(value, v) || v < ranged->low || v > ranged->high) {
                error = arg + " takes " + ranged->what + " from " + std::to_string(ranged->low) +
                        " to " + std::to_string(ranged->high) + ", not '" + value + "'";
                return false;
            }
            options.steps.push_back({ranged->kind, v});
            continue;
        }
        if (arg.size() > 1 && arg[0] == '-') {
            error = "unknown option '" + arg + "'";
            return false;
        }
        if (!options.image.empty()) {
            error = "only one image may be given ('" + options.image + "' and '" + arg + "')";
            return false;
        }
        options.image = arg;
    }
    if (options.image.empty()) {
        error = "no image given";
        return false;
    }
    if (!outputSeen || options.output.empty()) {
        error = "no output file given (-o OUT)";
        return false;
    }
    return true;
}
