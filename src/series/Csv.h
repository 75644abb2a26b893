#pragma once

#include "series/Series.h"

#include <optional>
#include <string>
#include <vector>

// The study's tables as comma-separated text: UTF-8, a header row, RFC 4180
// quoting, lines ended by CR LF. For European spreadsheets (excel): a
// byte-order mark, semicolons and decimal commas.
namespace Csv {

// A cell: text (quoted when needed, guarded against formulas) or a value
// written as it stands (numbers, dates, flags); empty when none.
struct Cell {
    std::string text;
    bool isText = false;
};

Cell text(const std::string& s);
Cell number(double v, int decimals);
Cell number(const std::optional<double>& v, int decimals);
Cell flag(bool b);
Cell empty();

struct Style {
    bool excel = false;
};

// One field: a text that starts with =, +, -, @ or a tab gets a leading
// apostrophe, so that no spreadsheet runs it as a formula; a field holding
// the separator, a quote, CR or LF is quoted, quotes doubled. In excel style
// a value's decimal point becomes a comma.
std::string field(const Cell& c, const Style& style);

// The whole table with its header.
std::string table(const std::vector<std::string>& header,
                  const std::vector<std::vector<Cell>>& rows, const Style& style);

// The per-film and per-series tables of a study (the columns the README
// lists). Left-out cases are film rows with their reason and no values.
std::string filmTable(const Series::StudyResult& study, const Style& style);
std::string summaryTable(const Series::StudyResult& study, const Style& style);

} // namespace Csv
