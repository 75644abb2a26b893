#include "analysis/ReportFormat.h"

#include "casefile/Cp1252.h"

#include <charconv>
#include <cmath>
#include <cstdio>

namespace ReportFormat {

namespace {

const char* const crlf = "\r\n";

} // namespace

std::string number(double v)
{
    if (v == 0.0)
        return "0";
    if (std::isnan(v))
        return "NaN";
    if (std::isinf(v))
        return v < 0 ? "-Infinity" : "Infinity";

    // The shortest round-trip digits come from to_chars; only the layout is ours.
    char buffer[64];
    auto res = std::to_chars(buffer, buffer + sizeof buffer, v, std::chars_format::scientific);
    std::string sci(buffer, res.ptr);
    std::string out = v < 0 ? "-" : "";
    size_t pos = v < 0 ? 1 : 0;
    size_t e = sci.find('e');
    std::string digits;
    for (size_t i = pos; i < e; ++i)
        if (sci[i] != '.')
            digits.push_back(sci[i]);
    int exponent = std::stoi(sci.substr(e + 1));
    const auto n = static_cast<int>(digits.size());

    double magnitude = std::fabs(v);
    if (magnitude >= 1e-4 && magnitude < 1e15) {
        if (exponent >= 0) {
            if (n <= exponent + 1) {
                out += digits + std::string(static_cast<size_t>(exponent + 1 - n), '0');
            } else {
                out += digits.substr(0, static_cast<size_t>(exponent + 1)) + "." +
                       digits.substr(static_cast<size_t>(exponent + 1));
            }
        } else {
            out += "0." + std::string(static_cast<size_t>(-exponent - 1), '0') + digits;
        }
        return out;
    }
    out += digits.substr(0, 1);
    if (n > 1)
        out += "." + digits.substr(1);
    char exp[16];
    std::snprintf(exp, sizeof exp, "E%c%02d", exponent < 0 ? '-' : '+', std::abs(exponent));
    return out + exp;
}

std::string date(CalendarDate d)
{
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "#%04d-%02d-%02d#", d.year, d.month, d.day);
    return buffer;
}

std::optional<std::string> record(const RecordTexts& texts, CalendarDate today,
                                  const AnalysisResult& r, std::string* badField)
{
    bool ok = true;
    auto text = [&](const std::string& utf8, const char* field) {
        std::optional<std::string> bytes = Cp1252::fromUtf8(utf8);
        if (!bytes) {
            if (ok && badField)
                *badField = field;
            ok = false;
            return std::string("\"\"");
        }
        return "\"" + *bytes + "\"";
    };
    auto label = [](const char* s) { return "\"" + std::string(s) + "\""; };
    auto list = [](const auto& values) {
        std::string s;
        for (double v : values)
            s += "," + number(v);
        return s;
    };

    std::string out;
    out += text("-------> OLTA-ZOR 2002  File: " + texts.fileName, "Data File") + "," +
           date(today) + crlf;
    out += text(texts.famname, "Name") + "," + text(texts.vorname, "First Name") + "," +
           text(texts.code, "Study - ID") + crlf;
    out += label("date of radiogram") + "," + text(texts.datum, "X-Ray Date") + crlf;
    out += label("side of replacement") + "," + text(r.side, "side") + "," + label("factor-head") +
           "," + number(r.factorHead) + "," + label("factor-stem") + "," + number(r.factorStem) +
           crlf;
    out += label("ZOR-parameters (x-distances)") + crlf;
    out += label("medial") + list(r.medial) + crlf;
    out += label("lateral") + list(r.lateral) + crlf;
    out += label("valgus-varus (degrees)") + "," + number(r.valgusVarus) + "," +
           label("subsidence") + list(r.subsidence) + crlf;
    if (r.cementValid)
        out += label("subsidence stem/cement interface") + "," + number(r.cementSubsidence) + crlf;
    else
        out += label("comparability parameters") + crlf;
    out += label("comp-y") + list(r.compY) + "," + label("comp-x") + "," + number(r.compX) + crlf;
    if (!ok)
        return std::nullopt;
    return out;
}

} // namespace ReportFormat
