#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The first inputs of a fuzz target, made by the program's own writers. Each
// target defines it (it may give none). Run with ZOR_FUZZ_WRITE_SEEDS=<folder>
// in the environment, a target writes them there as files and exits.
std::vector<std::string> zorFuzzSeeds();

// A finding: prints what went wrong and aborts, so that libFuzzer keeps the input.
[[noreturn]] void zorFuzzFail(const std::string& what, const std::string& detail = {});

// Texts each ended by a 0 byte, as the targets take them.
std::string zeroEnded(const std::vector<std::string>& texts);
// Takes at most `count` texts from the front of `in` (the last may lack its 0 byte).
std::vector<std::string> takeZeroEnded(std::string_view& in, size_t count = SIZE_MAX);
