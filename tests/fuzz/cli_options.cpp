// The option parsers of zor-cli on any arguments: never a crash, and what
// they accept is in range.
//
// Input: the arguments after the command, each ended by a 0 byte.
#include "FuzzSeeds.h"
#include "app/cli/AnalyseOptions.h"
#include "app/cli/RenderOptions.h"

#include <sstream>

std::vector<std::string> zorFuzzSeeds()
{
    return {
        zeroEnded({"--report", "all.zor", "--today", "2026-12-07", "--size", "860x1000", "a.bit"}),
        zeroEnded({"--report=r", "--today=2024-02-29", "--size=1x32767", "--", "-x.jpg", "b.png"}),
        zeroEnded({"case.jpg", "--sharpen", "3", "--undo", "--invert", "--brightness", "-20",
                   "--contrast", "150", "-o", "out.png"}),
        zeroEnded({"--help"})};
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string_view in(reinterpret_cast<const char*>(data), size);
    const std::vector<std::string> args = takeZeroEnded(in);

    std::ostringstream err;
    std::optional<AnalyseOptions> a = AnalyseOptions::parse(args, err);
    if (!a && err.str().empty())
        zorFuzzFail("analyse refused its arguments without saying why");
    if (a && !a->help) {
        if (a->cases.empty())
            zorFuzzFail("analyse accepted no case");
        if (a->width < 0 || a->width > 32767 || a->height < 0 || a->height > 32767)
            zorFuzzFail("analyse accepted a size out of range");
        if (a->today && (a->today->month < 1 || a->today->month > 12 || a->today->day < 1 ||
                         a->today->day > 31))
            zorFuzzFail("analyse accepted an impossible date");
    }

    RenderOptions r;
    std::string error;
    if (!RenderOptions::parse(args, r, error) && error.empty())
        zorFuzzFail("render refused its arguments without saying why");
    return 0;
}
