#pragma once

#include "analysis/AnalysisResult.h"

#include <string>
#include <vector>

// The parameters of an analysis as labelled rows, each value written as the
// report record writes it (ReportFormat::number), so what the results panel
// shows is what "&Write Data" will append.
namespace ResultRows {

struct Row {
    std::string label;
    std::vector<std::string> values;
};

std::vector<Row> of(const AnalysisResult& result);

} // namespace ResultRows
