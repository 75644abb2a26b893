#pragma once

#include "platform/Clock.h"

#include <optional>
#include <ostream>
#include <string>
#include <vector>

// The arguments of `zor-cli analyse`.
struct AnalyseOptions {
    std::optional<std::string> report; // --report FILE
    std::optional<CalendarDate> today; // --today YYYY-MM-DD
    int width = 0;                     // --size WxH, for .bit cases
    int height = 0;
    bool help = false;
    std::vector<std::string> cases;

    // Parses args; none (after telling err why) for a usage error.
    static std::optional<AnalyseOptions> parse(const std::vector<std::string>& args,
                                               std::ostream& err);
    static void usage(std::ostream& s);

    // "YYYY-MM-DD" as a date; none for anything else.
    static std::optional<CalendarDate> parseDate(const std::string& s);
    // Whether a case names a landmark file rather than an image.
    static bool isLandmarkFile(const std::string& path);
};
