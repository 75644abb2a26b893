#include "app/cli/Cli.h"
#include "app/cli/PhantomImage.h"
#include "app/cli/SeriesOptions.h"
#include "casefile/BinFile.h"
#include "casefile/FileIO.h"
#include "model/CZor.h"
#include "series/Csv.h"
#include "series/Phantom.h"
#include "series/Series.h"

#include <QString>

#include <filesystem>

namespace Cli {

namespace {

// The film column names the case as `zor-cli series DIR` lists it.
std::string truthTable(const std::vector<Phantom::Patient>& study, const char* extension)
{
    const std::vector<std::string> header = {"film",
                                             "code",
                                             "side",
                                             "months",
                                             "curve",
                                             "sinking_mm",
                                             "subsidence_mm",
                                             "cement_mm",
                                             "tilt_deg",
                                             "comparable",
                                             "magnification",
                                             "rotation_deg",
                                             "out_of_plane_deg",
                                             "calibration"};
    std::vector<std::vector<Csv::Cell>> rows;
    for (const Phantom::Patient& p : study) {
        for (const Phantom::Film& f : p.films) {
            const Phantom::Projection& pr = f.projection;
            rows.push_back({Csv::text(f.name + extension), Csv::text(p.code),
                            Csv::text(pr.left ? "L" : "R"), Csv::number(f.months, 2),
                            Csv::text(Phantom::curveName(p.curve)), Csv::number(f.pose.sinking, 4),
                            Csv::number(f.subsidence, 4), Csv::number(f.cement, 4),
                            Csv::number(f.tilt, 4), Csv::flag(f.comparable),
                            Csv::number(pr.magnification, 4), Csv::number(pr.rotation, 3),
                            Csv::number(pr.outOfPlane, 3),
                            Csv::text(f.defaultCalibration ? "430 mm default" : "film")});
        }
    }
    return Csv::table(header, rows, {});
}

} // namespace

int phantom(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    std::optional<PhantomOptions> o = PhantomOptions::parse(args, err);
    if (!o)
        return 2;
    if (o->help) {
        PhantomOptions::usage(out);
        return 0;
    }
    Phantom::Settings s;
    s.patients = o->patients;
    s.films = o->films;
    s.seed = o->seed;
    s.clickSd = o->clickSd;
    std::vector<Phantom::Patient> study = Phantom::makeStudy(s);
    auto fail = [&](const std::string& why) {
        err << "zor-cli phantom: " << why << '\n';
        return 1;
    };
    for (size_t i = 0; i < study.size(); ++i) {
        const Phantom::Patient& p = study[i];
        std::error_code ec;
        std::filesystem::create_directories(std::filesystem::path(o->out) / p.code, ec);
        if (ec)
            return fail("cannot create " + o->out + "/" + p.code + ": " + ec.message());
        for (size_t k = 0; k < p.films.size(); ++k) {
            const Phantom::Film& f = p.films[k];
            std::mt19937_64 rng(Phantom::clickSeed(s, i, k));
            CZor zor;
            if (!Phantom::fillCase(p, f, Phantom::noisyClicks(p, f, s.clickSd, rng), zor))
                return fail("no case can be built for " + f.name);
            std::string base = o->out + "/" + f.name;
            std::string why;
            if (!BinFile::WriteLandmarkFile(base + ".bit", zor, &why))
                return fail("cannot write " + base + ".bit: " + why);
            if (o->images && !drawPhantomFilm(p, f, static_cast<uint32_t>(rng()))
                                  .save(QString::fromStdString(base + ".jpg"), "JPG", 85))
                return fail("cannot write " + base + ".jpg");
        }
    }
    std::string why;
    if (!FileIO::replaceWhole(o->out + "/truth.csv", truthTable(study, o->images ? ".jpg" : ".bit"),
                              &why))
        return fail("cannot write " + o->out + "/truth.csv: " + why);
    out << "zor-cli phantom: " << study.size() << " patients, " << s.films
        << " films each, written to " << o->out << '\n';
    return 0;
}

} // namespace Cli
