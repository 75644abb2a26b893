#include "report/FilmParameters.h"

#include "analysis/Calc.h"
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
    const AnalysisResult& r = analysis->result;
    const auto mm = [](double v) { return fixed(v); };
    out.push_back({"side of replacement", r.side});
    out.push_back({"factor-head", fixed(r.factorHead, 4)});
    out.push_back({"ZOR-parameters (x-distances, mm)", ""});
    for (size_t i = 0; i < r.medial.size(); ++i)
        out.push_back({"medial " + std::to_string(i + 1), mm(r.medial[i])});
    for (size_t i = 0; i < r.lateral.size(); ++i)
        out.push_back({"lateral " + std::to_string(i + 1), mm(r.lateral[i])});
    out.push_back({"valgus-varus (degrees)", fixed(r.valgusVarus)});
    out.push_back({"subsidence (mm)", ""});
    for (size_t i = 0; i < r.subsidence.size(); ++i)
        out.push_back({"subsidence " + std::to_string(i + 1), mm(r.subsidence[i])});
    out.push_back({"subsidence stem/cement interface",
                   r.cementValid ? mm(r.cementSubsidence) : "no cement marker"});
    out.push_back({"comparability parameters (mm)", ""});
    out.push_back({"comp-y (1)", mm(r.compY[0])});
    out.push_back({"comp-y (2)", mm(r.compY[1])});
    out.push_back({"comp-x", mm(r.compX)});
    return out;
}

} // namespace FilmParameters
