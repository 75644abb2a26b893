#include "casefile/FilmFolder.h"

#include "casefile/BinFile.h"
#include "model/CZor.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <system_error>

namespace FilmFolder {

namespace {

std::string lower(std::string s)
{
    for (char& c : s)
        c = char(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

// The film list must not show boxes for every damaged file of a folder.
class Quiet : public UserMessages {
public:
    void showMessage(const std::string&, const std::string&, MessageIcon) override {}
    bool askYesNo(const std::string&, const std::string&) override { return false; }
};

} // namespace

std::vector<Film> list(const std::string& folder, const std::vector<std::string>& extensions)
{
    namespace fs = std::filesystem;
    std::vector<std::string> wanted;
    // Appended rather than added: string operator+ trips a false -Wrestrict
    // of GCC 12 at -O3.
    for (const std::string& e : extensions)
        wanted.push_back(std::string(".").append(lower(e)));
    std::vector<Film> films;
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        if (!it->is_regular_file(ec))
            continue;
        const fs::path& p = it->path();
        if (std::find(wanted.begin(), wanted.end(), lower(p.extension().string())) == wanted.end())
            continue;
        films.push_back(film(p.string()));
    }
    std::sort(films.begin(), films.end(), [](const Film& a, const Film& b) {
        const std::string la = lower(a.name);
        const std::string lb = lower(b.name);
        return la != lb ? la < lb : a.name < b.name;
    });
    return films;
}

Film film(const std::string& path)
{
    namespace fs = std::filesystem;
    Film f;
    f.path = path;
    f.name = fs::path(path).filename().string();
    std::error_code ec;
    if (auto bit = BinFile::LandmarkPath(path))
        f.hasLandmarks = fs::is_regular_file(*bit, ec);
    return f;
}

void readDetails(Film& film)
{
    film.detailsRead = true;
    if (!film.hasLandmarks)
        return;
    auto bit = BinFile::LandmarkPath(film.path);
    CZor zor;
    Quiet quiet;
    // Only the texts are wanted; the image size only scales the landmarks.
    if (!bit || !BinFile::ReadLandmarkFile(*bit, 1000, 1000, zor, quiet)) {
        film.damaged = true;
        return;
    }
    film.datum = zor.Datum;
    film.patient = zor.Patient.Famname;
    if (!zor.Patient.Vorname.empty()) {
        if (!film.patient.empty())
            film.patient.append(", ");
        film.patient.append(zor.Patient.Vorname);
    }
}

} // namespace FilmFolder
