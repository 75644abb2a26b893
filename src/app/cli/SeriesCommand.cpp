#include "app/cli/Cli.h"
#include "app/cli/SeriesOptions.h"
#include "casefile/FileIO.h"
#include "imageio/RadiographFile.h"
#include "report/SeriesReport.h"
#include "series/Csv.h"
#include "series/Study.h"

#include <algorithm>
#include <cstdio>

namespace Cli {

namespace {

// The image's size from its header, checked as the window's loader checks it.
std::optional<Series::ImageSize> imageSize(const std::string& path, std::string& error)
{
    RadiographInfo info;
    if (!RadiographFile::readHeader(path, info, error))
        return std::nullopt;
    return Series::ImageSize{info.width, info.height};
}

std::string fixed(double v, int decimals)
{
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.*f", decimals, v);
    return buf;
}

std::string withCi(double v, double ci, bool reference)
{
    return reference ? fixed(v, 2) : fixed(v, 2) + " +- " + fixed(ci, 2);
}

// Columns padded to their widest cell; numbers to the right.
void printTable(std::ostream& out, const std::vector<std::vector<std::string>>& rows,
                const std::vector<bool>& right)
{
    std::vector<size_t> width(rows.front().size(), 0);
    for (const auto& r : rows)
        for (size_t i = 0; i < r.size(); ++i)
            width[i] = std::max(width[i], r[i].size());
    for (const auto& r : rows) {
        std::string line = " ";
        for (size_t i = 0; i < r.size(); ++i) {
            std::string pad(width[i] - r[i].size(), ' ');
            line += "  ";
            line += right[i] ? pad + r[i] : r[i] + pad;
        }
        line.erase(line.find_last_not_of(' ') + 1);
        out << line << '\n';
    }
}

void printSeries(std::ostream& out, const Series::SeriesResult& s)
{
    const Series::SeriesSummary& m = s.summary;
    std::string names = m.famname;
    if (!m.vorname.empty())
        names += (names.empty() ? "" : ", ") + m.vorname;
    out << m.series << "  " << names << ", " << (m.side == "L" ? "left" : "right")
        << " hip: " << m.films << " films, " << m.comparableFilms
        << " comparable, pattern: " << m.pattern << '\n';
    std::vector<std::vector<std::string>> rows = {
        {"date", "months", "comparable", "subsidence mm", "tilt deg", "flags", "reason"}};
    for (const Series::FilmRow& r : s.rows) {
        std::string flags;
        if (r.migrationDetected)
            flags = "migration";
        if (r.overThreshold)
            flags += std::string(flags.empty() ? "" : ", ") + "over threshold";
        rows.push_back({r.date, fixed(r.months, 1),
                        r.reference    ? "reference"
                        : r.comparable ? "yes"
                                       : "no",
                        withCi(r.subsidence, r.subsidenceCi95, r.reference),
                        withCi(r.tilt, r.tiltCi95, r.reference), flags, r.reason});
    }
    printTable(out, rows, {false, true, false, true, true, false, false});
    out << '\n';
}

bool writeFile(const std::string& path, const std::string& bytes, std::ostream& err)
{
    std::string why;
    if (FileIO::replaceWhole(path, bytes, &why))
        return true;
    err << "zor-cli series: cannot write " << path << ": " << why << '\n';
    return false;
}

} // namespace

int series(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    std::optional<SeriesOptions> o = SeriesOptions::parse(args, err);
    if (!o)
        return 2;
    if (o->help) {
        SeriesOptions::usage(out);
        return 0;
    }
    std::optional<Series::ImageSize> size;
    if (o->width > 0)
        size = Series::ImageSize{o->width, o->height};
    Series::StudyResult study = Series::analyseStudy(o->paths, o->settings, size, imageSize);
    if (study.referenceMissing) {
        err << "zor-cli series: --reference " << o->settings.reference
            << " is no case of the study\n";
        return 2;
    }
    for (const Series::SeriesResult& s : study.series)
        printSeries(out, s);
    if (!study.leftOut.empty()) {
        out << "left out:\n";
        for (const Series::LeftOut& l : study.leftOut)
            out << "  " << l.film << ": " << l.reason << '\n';
    }
    int films = 0;
    for (const Series::SeriesResult& s : study.series)
        films += static_cast<int>(s.rows.size());
    out << study.series.size() << " series, " << films << " films, " << study.leftOut.size()
        << " left out\n";

    bool written = true;
    Csv::Style style{o->excel};
    if (o->csv)
        written = writeFile(*o->csv, Csv::filmTable(study, style), err) && written;
    if (o->summary)
        written = writeFile(*o->summary, Csv::summaryTable(study, style), err) && written;
    if (o->report) {
        SeriesReport::Input input{
            study.series, study.leftOut, o->settings, {}, SystemClock().today()};
        for (const std::string& p : o->paths)
            input.source += (input.source.isEmpty() ? "" : " ") + QString::fromStdString(p);
        std::string why;
        if (!SeriesReport::writePdf(*o->report, input, why)) {
            err << "zor-cli series: " << why << '\n';
            written = false;
        }
    }
    return study.leftOut.empty() && written ? 0 : 1;
}

} // namespace Cli
