#include "FuzzSeeds.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>

extern "C" int LLVMFuzzerInitialize(int* /*argc*/, char*** /*argv*/)
{
    const char* folder = std::getenv("ZOR_FUZZ_WRITE_SEEDS");
    if (!folder)
        return 0;
    int n = 0;
    for (const std::string& seed : zorFuzzSeeds()) {
        std::ofstream out(std::string(folder) + "/seed-" + std::to_string(n++), std::ios::binary);
        out << seed;
        if (!out)
            std::exit(1);
    }
    std::exit(0);
}

void zorFuzzFail(const std::string& what, const std::string& detail)
{
    std::fprintf(stderr, "fuzz finding: %s (%s)\n", what.c_str(), detail.c_str());
    std::abort();
}

std::string zeroEnded(const std::vector<std::string>& texts)
{
    std::string s;
    for (const std::string& t : texts)
        s.append(t).push_back('\0');
    return s;
}

std::vector<std::string> takeZeroEnded(std::string_view& in, size_t count)
{
    std::vector<std::string> texts;
    while (!in.empty() && texts.size() < count) {
        const size_t end = std::min(in.find('\0'), in.size());
        texts.emplace_back(in.substr(0, end));
        in.remove_prefix(std::min(end + 1, in.size()));
    }
    return texts;
}
