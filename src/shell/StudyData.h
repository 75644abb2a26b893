#pragma once

#include "series/Study.h"

#include <cstdint>
#include <map>
#include <string>
#include <variant>
#include <vector>

// The films of a study folder as the study window keeps them: read and
// measured once (the slow part: the click draws), then worked out into series
// for any tolerance, threshold or reference at once. The same steps as
// `zor-cli series FOLDER`, so that both give the same tables.
class StudyData {
public:
    // Finds and measures the cases under `folder` with the settings' click
    // sigma, draws and seed. A film whose landmark file, image and settings
    // are unchanged since `previous` was read is taken from it unmeasured.
    // Safe to run on a worker thread.
    static StudyData read(const std::string& folder, const Series::Settings& settings,
                          const StudyData& previous = StudyData());

    // The series and left-out cases for `settings` (tolerances, threshold,
    // reference); click sigma, draws and seed are those the films were read with.
    Series::StudyResult compute(const Series::Settings& settings) const;

    const std::string& folder() const { return folder_; }
    // Every folder that holds a case, for watching.
    const std::vector<std::string>& folders() const { return folders_; }
    // The image of a film (its path under the folder), "" when it has none.
    std::string imageOf(const std::string& film) const;

private:
    struct Entry {
        std::string stamp; // sizes and times of its files, and the measuring settings
        std::variant<Series::Film, Series::LeftOut> film;
        std::string image;
    };
    std::string folder_;
    std::vector<std::string> folders_;
    std::vector<Series::LeftOut> notFound_; // left out before reading
    std::vector<std::string> order_;        // films in the order found
    std::map<std::string, Entry> entries_;
};
