#include "shell/StudyData.h"

#include "imageio/RadiographFile.h"

#include <filesystem>
#include <set>

namespace fs = std::filesystem;

namespace {

std::optional<Series::ImageSize> imageSize(const std::string& path, std::string& error)
{
    RadiographInfo info;
    if (!RadiographFile::readHeader(path, info, error))
        return std::nullopt;
    return Series::ImageSize{info.width, info.height};
}

std::string stampOf(const std::string& path)
{
    std::error_code ec;
    const auto size = fs::file_size(path, ec);
    if (ec)
        return "-";
    const auto time = fs::last_write_time(path, ec);
    return std::to_string(size) + "@" + std::to_string(time.time_since_epoch().count());
}

} // namespace

StudyData StudyData::read(const std::string& folder, const Series::Settings& s,
                          const StudyData& previous)
{
    StudyData out;
    out.folder_ = folder;
    const Series::FoundCases found = Series::findCases({folder}, false);
    out.notFound_ = found.leftOut;
    std::set<std::string> folders = {folder};
    const std::string measuring =
        std::to_string(s.clickSd) + "/" + std::to_string(s.draws) + "/" + std::to_string(s.seed);
    for (const Series::CaseFile& c : found.cases) {
        folders.insert(fs::path(c.landmark).parent_path().string());
        const std::string stamp = stampOf(c.landmark) + ";" + stampOf(c.image) + ";" + measuring;
        out.order_.push_back(c.film);
        const auto old = previous.entries_.find(c.film);
        if (old != previous.entries_.end() && old->second.stamp == stamp) {
            out.entries_[c.film] = old->second;
            continue;
        }
        out.entries_[c.film] = {stamp, Series::loadFilm(c, std::nullopt, imageSize, s), c.image};
    }
    out.folders_.assign(folders.begin(), folders.end());
    return out;
}

Series::StudyResult StudyData::compute(const Series::Settings& settings) const
{
    Series::StudyResult result;
    result.leftOut = notFound_;
    std::vector<Series::Film> films;
    for (const std::string& name : order_) {
        const Entry& e = entries_.at(name);
        if (const auto* f = std::get_if<Series::Film>(&e.film))
            films.push_back(*f);
        else
            result.leftOut.push_back(std::get<Series::LeftOut>(e.film));
    }
    result.series = Series::analyseSeries(std::move(films), settings);
    return result;
}

std::string StudyData::imageOf(const std::string& film) const
{
    const auto e = entries_.find(film);
    return e == entries_.end() ? std::string() : e->second.image;
}
