#include "../support/CliRun.h"
#include "../support/TempDir.h"
#include "casefile/BinFile.h"
#include "model/CZor.h"
#include "series/Phantom.h"

#include <QTest>

#include <filesystem>
#include <memory>

namespace {

auto cli = [](const std::vector<std::string>& args) { return runCli(args); };
auto lines = textLines;
auto readFile = TempDir::read;

const std::string kSize =
    "--size=" + std::to_string(Phantom::kWidth) + "x" + std::to_string(Phantom::kHeight);

const char* const kFilmHeader =
    "series,code,family_name,given_name,side,film,date,months,reference,comparable,reason,"
    "head_factor,subsidence_mm,subsidence_ci95,subsidence_spread,migration_detected,tilt_deg,"
    "tilt_ci95,cement_subsidence_mm,cement_ci95,d_comp_y1,d_comp_y2,d_comp_x,width_change_pct,"
    "dx_medial_1,dx_medial_2,dx_medial_3,dx_medial_4,dx_medial_5,dx_lateral_1,dx_lateral_2,"
    "dx_lateral_3,dx_lateral_4,dx_lateral_5,over_threshold";

} // namespace

class TestCliSeries : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<TempDir> dir_;

    std::string file(const std::string& name) const { return dir_->file(name); }

    // A phantom study of two patients of four films, without images.
    std::string study()
    {
        std::string out = file("study");
        CliRun r = cli({"phantom", "--out", out, "--patients=2", "--films=4", "--no-images"});
        if (r.status != 0)
            qFatal("phantom failed: %s", r.err.c_str());
        return out;
    }

private slots:
    void init() { dir_ = std::make_unique<TempDir>(); }

    void tableAndFiles()
    {
        std::string s = study();
        CliRun r = cli({"series", "--draws=40", kSize, "--csv", file("films.csv"), "--summary",
                        file("series.csv"), s});
        QCOMPARE(r.status, 0);
        QVERIFY2(r.err.empty(), r.err.c_str());
        std::vector<std::string> out = lines(r.out);
        // Per series a title, the column heads, four films and a blank line.
        QCOMPARE(out.size(), size_t(2 * 7 + 1));
        QVERIFY(contains(out[0], "PH-001 ") && contains(out[0], " hip: 4 films, "));
        QVERIFY(contains(out[0], "pattern: unclassified")); // no film after 24 months
        QVERIFY(contains(out[1], "date") && contains(out[1], "subsidence mm") &&
                contains(out[1], "reason"));
        QVERIFY(contains(out[2], "reference"));
        QVERIFY(contains(out[3], " +- "));
        // Numbers are right-aligned under their heads.
        size_t end = out[1].find("subsidence mm") + std::string("subsidence mm").size();
        QCOMPARE(out[2].substr(end - 4, 4), std::string("0.00"));
        QCOMPARE(out.back(), std::string("2 series, 8 films, 0 left out"));

        std::vector<std::string> films = lines(readFile(file("films.csv")));
        QCOMPARE(films.size(), size_t(9));
        QCOMPARE(films[0], std::string(kFilmHeader));
        QVERIFY(films[1].rfind("PH-001 ", 0) == 0);
        QVERIFY(contains(films[1], "PH-001/PH-001-"));
        QVERIFY(contains(films[1], ",1,1,,")); // reference, comparable, no reason
        std::vector<std::string> summary = lines(readFile(file("series.csv")));
        QCOMPARE(summary.size(), size_t(3));
        QCOMPARE(summary[0], std::string("series,code,family_name,given_name,side,films,"
                                         "comparable_films,followup_months,subsidence_last_mm,"
                                         "subsidence_24_mm,max_abs_tilt_deg,pattern,"
                                         "over_threshold"));
        QVERIFY(contains(summary[1], ",Berger,Anna,"));
    }

    void excelAndFormulaGuard()
    {
        std::string s = study();
        // A name that a spreadsheet would run as a formula, and no Study - ID.
        std::string bit = s + "/PH-002";
        for (const auto& e : std::filesystem::directory_iterator(bit)) {
            CZor z;
            StderrMessages messages;
            QVERIFY(BinFile::ReadLandmarkFile(e.path().string(), Phantom::kWidth, Phantom::kHeight,
                                              z, messages));
            z.Patient.Code.clear();
            z.Patient.Famname = "=HYPERLINK(\"x\")";
            z.Patient.Vorname = "Rosa;Maria";
            QVERIFY(BinFile::WriteLandmarkFile(e.path().string(), z));
        }
        CliRun r = cli({"series", "--draws=20", kSize, "--excel", "--csv", file("films.csv"),
                        "--summary", file("series.csv"), s});
        QCOMPARE(r.status, 0);
        std::string csv = readFile(file("films.csv"));
        QVERIFY(csv.rfind("\xEF\xBB\xBF"
                          "series;code;family_name;",
                          0) == 0);
        std::vector<std::string> rows = lines(csv);
        QCOMPARE(rows.size(), size_t(9));
        const std::string& row = rows[1]; // "=" sorts before "P"
        QVERIFY2(row.rfind("\"'=HYPERLINK(\"\"x\"\") Rosa;Maria L\";", 0) == 0 ||
                     row.rfind("\"'=HYPERLINK(\"\"x\"\") Rosa;Maria R\";", 0) == 0,
                 row.c_str());
        QVERIFY(contains(row, ";;\"'=HYPERLINK(\"\"x\"\")\";\"Rosa;Maria\";"));
        QVERIFY(contains(row, ";0,00;1;1;;")); // months with a decimal comma
        std::string summary = readFile(file("series.csv"));
        QVERIFY(contains(summary, ";4;4;"));
        QVERIFY(!contains(lines(summary)[1], "."));
    }

    void exitStatus()
    {
        const std::string st = study();
        const struct {
            std::vector<std::string> args;
            int status;
            const char* message;
        } rows[] = {{{"--help"}, 0, "usage: zor-cli series"},
                    {{}, 2, "no PATH given"},
                    {{"--fast", "x"}, 2, "unknown option"},
                    {{"--draws=many", "x"}, 2, "--draws wants"},
                    {{"--size=10", "x"}, 2, "--size wants"},
                    {{"--reference=nothing.bit", st}, 2, "is no case of the study"},
                    {{st}, 1, "no image beside the landmark file (give --size)"},
                    {{st, "gone.png", kSize}, 1, "gone.png: no such file or folder"}};
        for (const auto& row : rows) {
            std::vector<std::string> a = {"series", "--draws=5"};
            a.insert(a.end(), row.args.begin(), row.args.end());
            CliRun r = cli(a);
            QCOMPARE(r.status, row.status);
            QVERIFY2(contains(r.out + r.err, row.message), (r.out + r.err).c_str());
        }
    }

    void phantomWritesTruth()
    {
        std::string s = study();
        std::vector<std::string> truth = lines(readFile(s + "/truth.csv"));
        QCOMPARE(truth.size(), size_t(9));
        QVERIFY(truth[0].rfind("film,code,side,months,curve,sinking_mm,subsidence_mm,", 0) == 0);
        QVERIFY(truth[1].rfind("PH-001/PH-001-", 0) == 0);
        QCOMPARE(cli({"phantom"}).status, 2);
        QCOMPARE(cli({"phantom", "--out", file("x"), "--films=0"}).status, 2);
    }
};

QTEST_MAIN(TestCliSeries)
#include "tst_cli_series.moc"
