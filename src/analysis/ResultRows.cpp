#include "analysis/ResultRows.h"

#include "analysis/ReportFormat.h"

namespace ResultRows {

namespace {

template <class Values> std::vector<std::string> numbers(const Values& values)
{
    std::vector<std::string> out;
    for (double v : values)
        out.push_back(ReportFormat::number(v));
    return out;
}

std::vector<std::string> one(double v)
{
    return {ReportFormat::number(v)};
}

} // namespace

std::vector<Row> of(const AnalysisResult& r)
{
    std::vector<Row> rows = {
        {"side of replacement", {r.side}},
        {"factor-head", one(r.factorHead)},
        {"medial", numbers(r.medial)},
        {"lateral", numbers(r.lateral)},
        {"valgus-varus (degrees)", one(r.valgusVarus)},
        {"subsidence", numbers(r.subsidence)},
    };
    if (r.cementValid)
        rows.push_back({"subsidence stem/cement interface", one(r.cementSubsidence)});
    rows.push_back({"comp-y", numbers(r.compY)});
    rows.push_back({"comp-x", one(r.compX)});
    return rows;
}

} // namespace ResultRows
