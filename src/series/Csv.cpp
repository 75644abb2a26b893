#include "series/Csv.h"

#include <cstdio>

namespace Csv {

Cell text(const std::string& s)
{
    return {s, true};
}

Cell number(double v, int decimals)
{
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.*f", decimals, v);
    std::string s = buf;
    if (s.find_first_not_of("-0.") == std::string::npos)
        s = decimals > 0 ? "0." + std::string(static_cast<size_t>(decimals), '0') : "0";
    return {s, false};
}

Cell number(const std::optional<double>& v, int decimals)
{
    return v ? number(*v, decimals) : empty();
}

Cell flag(bool b)
{
    return {b ? "1" : "0", false};
}

Cell empty()
{
    return {"", false};
}

std::string field(const Cell& c, const Style& style)
{
    const char sep = style.excel ? ';' : ',';
    std::string s = c.text;
    if (c.isText) {
        if (!s.empty() &&
            (s[0] == '=' || s[0] == '+' || s[0] == '-' || s[0] == '@' || s[0] == '\t'))
            s.insert(s.begin(), '\'');
    } else if (style.excel) {
        for (char& ch : s)
            if (ch == '.')
                ch = ',';
    }
    if (s.find_first_of(std::string(1, sep) + "\"\r\n") == std::string::npos)
        return s;
    std::string q = "\"";
    for (char ch : s) {
        if (ch == '"')
            q += '"';
        q += ch;
    }
    return q + '"';
}

std::string table(const std::vector<std::string>& header,
                  const std::vector<std::vector<Cell>>& rows, const Style& style)
{
    const char* sep = style.excel ? ";" : ",";
    std::string out = style.excel ? "\xEF\xBB\xBF" : "";
    auto line = [&](const std::vector<Cell>& cells) {
        for (size_t i = 0; i < cells.size(); ++i) {
            if (i > 0)
                out += sep;
            out += field(cells[i], style);
        }
        out += "\r\n";
    };
    std::vector<Cell> head;
    for (const std::string& h : header)
        head.push_back(text(h));
    line(head);
    for (const std::vector<Cell>& r : rows)
        line(r);
    return out;
}

std::string filmTable(const Series::StudyResult& study, const Style& style)
{
    std::vector<std::string> header = {"series",
                                       "code",
                                       "family_name",
                                       "given_name",
                                       "side",
                                       "film",
                                       "date",
                                       "months",
                                       "reference",
                                       "comparable",
                                       "reason",
                                       "head_factor",
                                       "subsidence_mm",
                                       "subsidence_ci95",
                                       "subsidence_spread",
                                       "migration_detected",
                                       "tilt_deg",
                                       "tilt_ci95",
                                       "cement_subsidence_mm",
                                       "cement_ci95",
                                       "d_comp_y1",
                                       "d_comp_y2",
                                       "d_comp_x",
                                       "width_change_pct"};
    for (const char* side : {"medial", "lateral"})
        for (int i = 1; i <= 5; ++i)
            header.push_back(std::string("dx_") + side + "_" + std::to_string(i));
    header.push_back("over_threshold");

    std::vector<std::vector<Cell>> rows;
    for (const Series::SeriesResult& s : study.series) {
        const Series::SeriesSummary& m = s.summary;
        for (const Series::FilmRow& r : s.rows) {
            // The reference's own migration is zero by definition; it has
            // no error bar of its own.
            auto ci = [&](double v) { return r.reference ? empty() : number(v, 3); };
            std::vector<Cell> c = {text(m.series),
                                   text(m.code),
                                   text(m.famname),
                                   text(m.vorname),
                                   text(m.side),
                                   text(r.film),
                                   {r.date, false},
                                   number(r.months, 2),
                                   flag(r.reference),
                                   flag(r.comparable),
                                   text(r.reason),
                                   number(r.headFactor, 5),
                                   number(r.subsidence, 3),
                                   ci(r.subsidenceCi95),
                                   number(r.subsidenceSpread, 3),
                                   flag(r.migrationDetected),
                                   number(r.tilt, 3),
                                   ci(r.tiltCi95),
                                   number(r.cementSubsidence, 3),
                                   r.reference ? empty() : number(r.cementCi95, 3),
                                   number(r.dCompY1, 3),
                                   number(r.dCompY2, 3),
                                   number(r.dCompX, 3),
                                   number(r.widthChangePct, 2)};
            for (double d : r.dxMedial)
                c.push_back(number(d, 3));
            for (double d : r.dxLateral)
                c.push_back(number(d, 3));
            c.push_back(flag(r.overThreshold));
            rows.push_back(std::move(c));
        }
    }
    for (const Series::LeftOut& l : study.leftOut) {
        std::vector<Cell> c(header.size(), empty());
        c[5] = text(l.film);
        c[10] = text(l.reason);
        rows.push_back(std::move(c));
    }
    return table(header, rows, style);
}

std::string summaryTable(const Series::StudyResult& study, const Style& style)
{
    const std::vector<std::string> header = {"series",
                                             "code",
                                             "family_name",
                                             "given_name",
                                             "side",
                                             "films",
                                             "comparable_films",
                                             "followup_months",
                                             "subsidence_last_mm",
                                             "subsidence_24_mm",
                                             "max_abs_tilt_deg",
                                             "pattern",
                                             "over_threshold"};
    std::vector<std::vector<Cell>> rows;
    for (const Series::SeriesResult& s : study.series) {
        const Series::SeriesSummary& m = s.summary;
        rows.push_back({text(m.series),
                        text(m.code),
                        text(m.famname),
                        text(m.vorname),
                        text(m.side),
                        {std::to_string(m.films), false},
                        {std::to_string(m.comparableFilms), false},
                        number(m.followupMonths, 2),
                        number(m.subsidenceLast, 3),
                        number(m.subsidence24, 3),
                        number(m.maxAbsTilt, 3),
                        text(m.pattern),
                        flag(m.overThreshold)});
    }
    return table(header, rows, style);
}

} // namespace Csv
