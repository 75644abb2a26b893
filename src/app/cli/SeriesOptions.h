#pragma once

#include "series/Series.h"

#include <optional>
#include <ostream>
#include <string>
#include <vector>

// The arguments of `zor-cli series`.
struct SeriesOptions {
    Series::Settings settings;
    int width = 0; // --size WxH, for landmark files without an image
    int height = 0;
    std::optional<std::string> csv;
    std::optional<std::string> summary;
    std::optional<std::string> report; // --report OUT.pdf
    bool excel = false;
    bool help = false;
    std::vector<std::string> paths;

    // Parses args; none (after telling err why) for a usage error.
    static std::optional<SeriesOptions> parse(const std::vector<std::string>& args,
                                              std::ostream& err);
    static void usage(std::ostream& s);
};

// The arguments of `zor-cli phantom`.
struct PhantomOptions {
    std::string out;
    int patients = 10;
    int films = 6;
    unsigned long long seed = 1;
    double clickSd = 1.0;
    bool images = true;
    bool help = false;

    static std::optional<PhantomOptions> parse(const std::vector<std::string>& args,
                                               std::ostream& err);
    static void usage(std::ostream& s);
};
