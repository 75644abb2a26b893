#include "series/Study.h"

#include "casefile/BinFile.h"
#include "model/CZor.h"
#include "series/KeptMessages.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <map>

namespace fs = std::filesystem;

namespace Series {

namespace {

bool isLandmarkFile(const std::string& path)
{
    return path.size() > 4 && path.compare(path.size() - 4, 4, ".bit") == 0;
}

// The image beside a landmark file, or "".
std::string imageBeside(const fs::path& landmark)
{
    std::error_code ec;
    fs::path dir = landmark.parent_path().empty() ? fs::path(".") : landmark.parent_path();
    std::string stem = landmark.stem().string();
    std::vector<std::string> found;
    for (const fs::directory_entry& e : fs::directory_iterator(dir, ec)) {
        if (!e.is_regular_file(ec))
            continue;
        fs::path p = e.path();
        if (p.stem().string() == stem && p.extension() != ".bit")
            found.push_back(p.filename().string());
    }
    if (found.empty())
        return "";
    // Files of a usual image kind first (notes or exports may share the
    // name), then by name.
    auto usual = [](const std::string& name) {
        std::string ext = fs::path(name).extension().string();
        for (char& c : ext)
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        for (const char* e : {".bmp", ".jpg", ".jpeg", ".png", ".gif", ".tif", ".tiff", ".dcm"})
            if (ext == e)
                return 0;
        return 1;
    };
    std::sort(found.begin(), found.end(), [&](const std::string& a, const std::string& b) {
        return usual(a) != usual(b) ? usual(a) < usual(b) : a < b;
    });
    return (landmark.parent_path() / found.front()).string();
}

void addLandmark(FoundCases& out, const std::string& film, const fs::path& landmark, bool haveSize)
{
    std::string image = imageBeside(landmark);
    if (image.empty() && !haveSize) {
        out.leftOut.push_back({film, "no image beside the landmark file (give --size)"});
        return;
    }
    out.cases.push_back({film, landmark.string(), image});
}

} // namespace

uint64_t filmSeed(uint64_t seed, const std::string& film)
{
    uint64_t h = 1469598103934665603ull; // FNV-1a
    for (unsigned char c : film) {
        h ^= c;
        h *= 1099511628211ull;
    }
    // splitmix64 of both, so that neighbouring seeds give unrelated draws
    uint64_t z = seed + 0x9E3779B97F4A7C15ull * (h | 1);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

FoundCases findCases(const std::vector<std::string>& paths, bool haveSize)
{
    FoundCases out;
    for (const std::string& given : paths) {
        std::error_code ec;
        if (fs::is_directory(given, ec)) {
            std::vector<fs::path> landmarks;
            for (auto it = fs::recursive_directory_iterator(given, ec);
                 !ec && it != fs::recursive_directory_iterator(); it.increment(ec))
                if (it->is_regular_file(ec) && isLandmarkFile(it->path().string()))
                    landmarks.push_back(it->path());
            std::sort(landmarks.begin(), landmarks.end());
            for (const fs::path& l : landmarks) {
                std::string film = l.lexically_relative(given).string();
                std::string image = imageBeside(l);
                if (!image.empty())
                    film = fs::path(image).lexically_relative(given).string();
                addLandmark(out, film, l, haveSize);
            }
        } else if (isLandmarkFile(given)) {
            addLandmark(out, given, given, haveSize);
        } else if (!fs::exists(given, ec)) {
            out.leftOut.push_back({given, "no such file or folder"});
        } else {
            std::optional<std::string> bit = BinFile::LandmarkPath(given);
            if (!bit)
                out.leftOut.push_back({given, "the image name has no extension"});
            else
                out.cases.push_back({given, *bit, given});
        }
    }
    return out;
}

std::variant<Film, LeftOut> loadFilm(const CaseFile& c, std::optional<ImageSize> size,
                                     const SizeReader& sizeOf, const Settings& s)
{
    auto leave = [&](const std::string& why) { return LeftOut{c.film, why}; };
    if (!c.image.empty()) {
        std::string error;
        size = sizeOf(c.image, error);
        if (!size)
            return leave(error);
    }
    if (!size)
        return leave("no image size (give --size)");
    std::error_code ec;
    if (!fs::exists(c.landmark, ec))
        return leave("no landmark file " + c.landmark);
    CZor zor;
    KeptMessages messages;
    if (!BinFile::ReadLandmarkFile(c.landmark, static_cast<int16_t>(size->width),
                                   static_cast<int16_t>(size->height), zor, messages))
        return leave(messages.text);
    std::optional<int> days = daysOf(zor.Datum);
    if (!days)
        return leave("no valid X-Ray Date (\"" + zor.Datum + "\")");
    if (zor.Patient.HeadTR == 0.0)
        return leave("no head diameter");
    auto m = measureFilm(zor, s.clickSd, s.draws, filmSeed(s.seed, c.film));
    if (auto* why = std::get_if<std::string>(&m))
        return leave(*why);
    Film f;
    f.film = c.film;
    f.code = zor.Patient.Code;
    f.famname = zor.Patient.Famname;
    f.vorname = zor.Patient.Vorname;
    f.measurement = std::get<Measurement>(m);
    f.side = f.measurement.result.side;
    f.days = *days;
    return f;
}

StudyResult analyseStudy(const std::vector<std::string>& paths, const Settings& s,
                         std::optional<ImageSize> size, const SizeReader& sizeOf)
{
    FoundCases found = findCases(paths, size.has_value());
    StudyResult out;
    out.leftOut = found.leftOut;
    // The reference as listed, or as a path to its image or landmark file.
    Settings settings = s;
    if (!s.reference.empty()) {
        std::error_code ec;
        fs::path given = fs::weakly_canonical(s.reference, ec);
        auto same = [&](const std::string& p) {
            std::error_code e;
            return !p.empty() && fs::weakly_canonical(p, e) == given && !e;
        };
        out.referenceMissing = true;
        for (const CaseFile& c : found.cases) {
            if (c.film == s.reference || same(c.image) || same(c.landmark)) {
                settings.reference = c.film;
                out.referenceMissing = false;
            }
        }
    }
    std::vector<Film> films;
    for (const CaseFile& c : found.cases) {
        auto f = loadFilm(c, size, sizeOf, settings);
        if (auto* film = std::get_if<Film>(&f))
            films.push_back(std::move(*film));
        else
            out.leftOut.push_back(std::get<LeftOut>(f));
    }
    out.series = analyseSeries(std::move(films), settings);
    return out;
}

} // namespace Series
