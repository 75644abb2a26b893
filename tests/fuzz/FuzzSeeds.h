#pragma once

#include <string>
#include <vector>

// The first inputs of a fuzz target, made by the program's own writers. Each
// target defines it (it may give none). Run with ZOR_FUZZ_WRITE_SEEDS=<folder>
// in the environment, a target writes them there as files and exits.
std::vector<std::string> zorFuzzSeeds();
