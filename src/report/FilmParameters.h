#pragma once

#include <string>
#include <vector>

class CZor;

// The parameters of one film as a two-column table, with the names and the
// values of the results panel (ResultRows), for the film report.
namespace FilmParameters {

struct Row {
    std::string name;
    std::string value; // "" for a heading row
};

// The analysis of `zor` as it stands: head diameter, side, factor-head, the
// five medial and five lateral x-distances, valgus-varus, the four
// subsidence values, the cement interface, the comparability parameters; a
// row without value heads the numbered rows under it.
// Where the analysis gives no result, `*refusal` gets its two lines (joined
// by " / ") and the rows hold what is known without it.
std::vector<Row> rows(const CZor& zor, std::string* refusal = nullptr);

// "12.34" (fixed, two decimals); "-" for a value that is not finite.
std::string fixed(double v, int decimals = 2);

// "YYYY-MM-DD" of a "yyyymmdd" radiograph date; the text as it stands otherwise.
std::string isoDate(const std::string& datum);

} // namespace FilmParameters
