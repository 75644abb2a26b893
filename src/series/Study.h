#pragma once

#include "series/Series.h"

#include <functional>
#include <optional>
#include <string>
#include <variant>
#include <vector>

// Finding and reading the cases of a study.
namespace Series {

// A case: its landmark file and the image beside it ("" when the case is a
// landmark file alone, which needs an image size from the user).
struct CaseFile {
    std::string film; // as given, or relative to the folder given
    std::string landmark;
    std::string image;
};

struct ImageSize {
    int width = 0;
    int height = 0;
};

// Reads an image's size from its header; on failure none, with error set.
using SizeReader = std::function<std::optional<ImageSize>(const std::string&, std::string&)>;

struct FoundCases {
    std::vector<CaseFile> cases;
    std::vector<LeftOut> leftOut;
};

// The cases named by paths: a folder stands for every landmark file under
// it, a file for itself (an image stands for the landmark file beside it).
// A landmark file's image is a file of the same name up to the extension
// (when there are several, one of a usual image kind, then the first by name). Without an image and
// without a size (haveSize) it is left out.
FoundCases findCases(const std::vector<std::string>& paths, bool haveSize);

// Reads and measures one case. Left out with the reason when its landmark
// file is missing or damaged, its radiograph date is not a valid date, it
// has no head diameter or the analysis refuses it.
std::variant<Film, LeftOut> loadFilm(const CaseFile& c, std::optional<ImageSize> size,
                                     const SizeReader& sizeOf, const Settings& s);

// Everything: find, read and measure the cases, then work out the series.
StudyResult analyseStudy(const std::vector<std::string>& paths, const Settings& s,
                         std::optional<ImageSize> size, const SizeReader& sizeOf);

// The seed of a film's draws: the study's seed and the film, so that a film
// draws the same whatever else the study holds.
uint64_t filmSeed(uint64_t seed, const std::string& film);

} // namespace Series
