#include "FuzzSeeds.h"

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
