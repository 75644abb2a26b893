#pragma once

#include <array>
#include <string>

// The stem's parameters of one analysis, in millimetres and degrees, as the
// result report writes them.
struct AnalysisResult {
    std::string side;        // "L" or "R": side of the replacement
    double factorHead = 0.0; // measured head radius over true head radius
    double factorStem = 1.0; // always 1
    std::array<double, 5> medial{};
    std::array<double, 5> lateral{};
    double valgusVarus = 0.0; // degrees
    std::array<double, 4> subsidence{};
    bool cementValid = false;
    double cementSubsidence = 0.0;
    std::array<double, 2> compY{};
    double compX = 0.0;
};
