// The option parsers of zor-cli on any arguments: never a crash, and what
// they accept is in range.
//
// Input: the arguments after the command, each ended by a 0 byte.
#include "FuzzSeeds.h"
#include "app/cli/AnalyseOptions.h"
#include "app/cli/RenderOptions.h"

#include <cstdio>
#include <cstdlib>
#include <sstream>

namespace {

[[noreturn]] void fail(const char* what)
{
    std::fprintf(stderr, "cli options: %s\n", what);
    std::abort();
}

std::string join(const std::vector<std::string>& args)
{
    std::string s;
    for (const std::string& a : args)
        s.append(a).push_back('\0');
    return s;
}

} // namespace

std::vector<std::string> zorFuzzSeeds()
{
    return {join({"--report", "all.zor", "--today", "2026-12-07", "--size", "860x1000", "a.bit"}),
            join({"--report=r", "--today=2024-02-29", "--size=1x32767", "--", "-x.jpg", "b.png"}),
            join({"case.jpg", "--sharpen", "3", "--undo", "--invert", "--brightness", "-20",
                  "--contrast", "150", "-o", "out.png"}),
            join({"--help"})};
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::vector<std::string> args;
    std::string_view in(reinterpret_cast<const char*>(data), size);
    while (!in.empty()) {
        size_t end = in.find('\0');
        args.emplace_back(in.substr(0, end));
        in.remove_prefix(end == std::string_view::npos ? in.size() : end + 1);
    }

    std::ostringstream err;
    std::optional<AnalyseOptions> a = AnalyseOptions::parse(args, err);
    if (!a && err.str().empty())
        fail("analyse refused its arguments without saying why");
    if (a && !a->help) {
        if (a->cases.empty())
            fail("analyse accepted no case");
        if (a->width < 0 || a->width > 32767 || a->height < 0 || a->height > 32767)
            fail("analyse accepted a size out of range");
        if (a->today && (a->today->month < 1 || a->today->month > 12 || a->today->day < 1 ||
                         a->today->day > 31))
            fail("analyse accepted an impossible date");
    }

    RenderOptions r;
    std::string error;
    if (!RenderOptions::parse(args, r, error) && error.empty())
        fail("render refused its arguments without saying why");
    return 0;
}
