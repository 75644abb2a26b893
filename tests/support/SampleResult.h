#pragma once

#include "analysis/AnalysisResult.h"

// A result with a distinct value in every field, for the report's tests.
inline AnalysisResult sampleResult()
{
    AnalysisResult r;
    r.side = "L";
    r.factorHead = 1.12;
    r.medial = {14.2, 11.9, 10.35, 9.8, 8.75};
    r.lateral = {0, 12.4, 11.1, 10.6, 9.95};
    r.valgusVarus = 1.27;
    r.subsidence = {78.1, -6.4, 43.2, -41.3};
    r.cementSubsidence = 3.5;
    r.compY = {118.6, 34.9};
    r.compX = 6.3;
    return r;
}
