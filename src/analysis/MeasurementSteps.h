#pragma once

#include <string>
#include <vector>

class CZor;

// The steps of a measurement in the order the user takes them, for the
// checklist beside the results: which are done, and which one comes next.
namespace MeasurementSteps {

struct Step {
    std::string name;
    bool done = false;
    bool optional = false;
    bool operator==(const Step&) const = default;
};

std::vector<Step> of(const CZor& zor);

// The first step that is needed and not done; -1 when all are done.
int next(const std::vector<Step>& steps);

} // namespace MeasurementSteps
