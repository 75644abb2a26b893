#pragma once

#include <string>
#include <vector>

// The arguments of `zor-cli render`: the image, the operations in the order
// given, and the output file.
struct RenderStep {
    enum class Kind { Sharpen, Undo, Invert, Brightness, Contrast };
    Kind kind;
    int value = 0; // strength, offset or scale
};

struct RenderOptions {
    std::string image;
    std::string output;
    std::vector<RenderStep> steps;
    bool help = false;

    // Fills the options from the arguments after "render"; returns false
    // with a message for the user when they are not a valid command.
    static bool parse(const std::vector<std::string>& args, RenderOptions& options,
                      std::string& error);
};

// The usage text of `zor-cli render`.
const char* renderUsage();
