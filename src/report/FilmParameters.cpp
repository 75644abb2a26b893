#include "report/FilmParameters.h"

#include "analysis/Calc.h"
#include "analysis/ResultRows.h"
#include "model/CZor.h"

#include <cmath>
#include <cstdio>
#include <variant>

namespace FilmParameters {

std::string fixed(double v, int decimals)
{
    if (!std::isfinite(v))
        return "-";
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.*f", decimals, v);
    // No "-0.00" for a value that rounds to zero.
    std::string text = buf;
    if (text[0] == '-' && text.find_first_not_of("-0.") == std::string::npos)
        text.erase(0, 1);
    return text;
}

std::string isoDate(const std::string& datum)
{
    if (datum.size() != 8)
        return datum;
    return datum.substr(0, 4) + "-" + datum.substr(4, 2) + "-" + datum.substr(6, 2);
}

std::vector<Row> rows(const CZor& zor, std::string* refusal)
{
    std::vector<Row> out;
    const Calc::Outcome outcome = Calc::Analyse(zor);
    const auto* analysis = std::get_if<Calc::Analysis>(&outcome);
    if (refusal != nullptr) {
        refusal->clear();
        if (const auto* r = std::get_if<Calc::Refusal>(&outcome))
            *refusal = r->what + " / " + r->how;
        else if (std::holds_alternative<Calc::PatientDataNeeded>(outcome))
            *refusal = "Patient's Data missing: head diameter";
    }
    const double headDiameter = 2.0 * zor.Patient.HeadTR;
    out.push_back({"head diameter (mm)", headDiameter > 0 ? fixed(headDiameter) : "-"});
    if (analysis == nullptr)
        return out;
    // The values as the results panel and the report record write them.
    for (const ResultRows::Row& r : ResultRows::of(analysis->result)) {
        if (r.values.size() == 1) {
            out.push_back({r.label, r.values.front()});
            continue;
        }
        out.push_back({r.label, ""});
        for (size_t i = 0; i < r.values.size(); ++i) {
            const std::string n = std::to_string(i + 1);
            out.push_back(
                {r.label == "comp-y" ? "comp-y (" + n + ")" : r.label + " " + n, r.values[i]});
        }
    }
    if (!analysis->result.cementValid)
        out.push_back({"subsidence stem/cement interface", "no cement marker"});
    return out;
}

} // namespace FilmParameters
