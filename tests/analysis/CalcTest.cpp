#include "analysis/Calc.h"

#include "../support/Cases.h"
#include "../support/RecordingMessages.h"
#include "../support/RecordingOpener.h"
#include "../support/TempDir.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>

namespace {

template <size_t N>
void expectNear(const std::array<double, N>& got, const std::array<double, N>& want)
{
    for (size_t i = 0; i < N; ++i)
        EXPECT_NEAR(got[i], want[i], 1e-9) << i;
}

TEST(CalcAnalyse, UprightStemGivesTheHandComputedValues)
{
    CZor z;
    Cases::upright(z);
    const auto [r, frame] = std::get<Calc::Analysis>(Calc::Analyse(z));
    EXPECT_EQ(r.side, "L");
    EXPECT_EQ(r.factorHead, 15.0 / 14.0);
    EXPECT_EQ(r.medial, (std::array<double, 5>{20, 30, 28, 25, 22}));
    EXPECT_EQ(r.lateral, (std::array<double, 5>{0, 35, 34, 31, 30}));
    EXPECT_NEAR(r.valgusVarus, -0.5903274718663375, 1e-13);
    EXPECT_EQ(r.subsidence, (std::array<double, 4>{100, 25, 50, -25}));
    EXPECT_TRUE(r.cementValid);
    EXPECT_EQ(r.cementSubsidence, 50.0);
    EXPECT_EQ(r.compY, (std::array<double, 2>{250, 50}));
    EXPECT_EQ(r.compX, 50.0);
    // The stem frame: upright, centred on the head in mm.
    EXPECT_EQ(frame.SinA, 0.0);
    EXPECT_EQ(frame.CosA, 1.0);
    EXPECT_EQ(frame.Center, CPoint(150.0, 400.0));
}

TEST(CalcAnalyse, TiltedStemMatchesTheProjectionOntoTheAxis)
{
    CZor z;
    Cases::tilted(z);
    const AnalysisResult r = std::get<Calc::Analysis>(Calc::Analyse(z)).result;
    EXPECT_EQ(r.side, "R");
    expectNear(r.medial, {17.74174448062621, 37.37011585619493, 33.01359967616793,
                          28.91687574540859, 24.900087891347});
    expectNear(r.lateral,
               {0.0, 34.97203355526261, 32.97363163781904, 31.47483019973636, 29.616316416513826});
    expectNear(r.subsidence,
               {101.98285310560799, 29.63622829121474, 49.52480277271405, -22.8218220416792});
    expectNear(r.compY, {250.68219693534388, 52.45805033289394});
    expectNear(std::array{r.factorHead, r.valgusVarus, r.cementSubsidence, r.compX},
               {1.1071428571428572, 1.4687172839031075, 52.03572551900942, 66.14710346738246});
    EXPECT_FALSE(r.cementValid);
}

TEST(CalcAnalyse, MidpointsAtOneHeightAddNinetyDegreesToTheMean)
{
    CZor z;
    Cases::upright(z);
    // The upper pairs' midpoints (420, 500) and (416, 500) px meet at 90
    // degrees; the other pairs' midpoints are at x' 60 mm.
    Cases::points(z,
                  {400, 500, 440, 500, 398, 500, 434, 500, 400, 700, 440, 700, 400, 780, 440, 780});
    const AnalysisResult r = std::get<Calc::Analysis>(Calc::Analyse(z)).result;
    double radians = M_PI / 2 + std::atan(-2.0 / 100.0) + std::atan(-2.0 / 140.0);
    EXPECT_NEAR(r.valgusVarus, radians * 180 / M_PI / 6.0, 1e-12);
}

const double nan = std::numeric_limits<double>::quiet_NaN();

// Each gives one message, or opens the patient dialog, and writes no report:
// a refused analysis, a refused record, a failed append. Some rows also break
// a later check, which must not be reached.
TEST(RunAnalysis, RefusesWithOneMessageAndWritesNothing)
{
    TempDir dir;
    const struct {
        const char* what;
        void (*damage)(CZor&);
        std::string message; // "" for none
        int dialogFlag = 0;  // 0 for none
        std::string name = "r.zor";
        std::string path = ""; // the name in the folder when empty
    } rows[] = {
        {"no head", [](CZor& z) { z.head.Valid = z.AxisLine.Valid = false; },
         "head data missing\nuse Measurement Tool 'Head'"},
        {"a head flagged valid that no circle was fitted to", [](CZor& z) { z.head.R = 0; },
         "head data missing\nuse Measurement Tool 'Head'"},
        {"no head diameter",
         [](CZor& z) {
             z.Patient.HeadTR = 0;
             z.AxisLine.Valid = false;
         },
         "", 32},
        {"a negative head diameter", [](CZor& z) { z.Patient.HeadTR = -14; }, "", 32},
        {"no axis", [](CZor& z) { z.AxisLine.Valid = z.PointsValid = false; },
         "Axis Line missing\nuse Measurement Tool 'Stem Axis'"},
        {"no femur points", [](CZor& z) { z.PointsValid = false; },
         "Femur Points missing\nuse Measurement Tool '8 Points'"},
        {"tip line along the axis", [](CZor& z) { Cases::setLine(z.TipLine, 400, 900, 400, 700); },
         "Tip Line does not cross the Axis Line\nmove the Tip Line"},
        {"parallel minor trochanter lines",
         [](CZor& z) { Cases::setLine(z.LTLine2, 350, 380, 390, 420); },
         "Minor Trochanter Lines do not cross\nmove one of the Minor Trochanter Lines"},
        {"major trochanter line along the axis",
         [](CZor& z) { Cases::setLine(z.GTLine, 402, 250, 402, 200); },
         "Major Trochanter Line does not cross the Axis Line\nmove the Major Trochanter Line"},
        {"a femur point that is no number", [](CZor& z) { z.points(3).x = nan; },
         "Femur Points invalid\nuse Measurement Tool '8 Points'"},
        {"a head diameter that is no number", [](CZor& z) { z.Patient.HeadTR = nan; },
         "Head Diameter invalid\ncorrect the Patient's Data"},
        {"a head diameter too small for a finite factor",
         [](CZor& z) { z.Patient.HeadTR = 1e-310; },
         "the analysis gives no finite value for factor-head\ncheck the calibration, the head "
         "diameter and the landmarks"},
        {"a report in a missing folder", [](CZor&) {},
         "Data not written to missing/r.zor\ncannot open " + dir.file("missing/r.zor") +
             ": No such file or directory",
         0, "missing/r.zor"},
        {"a full disk", [](CZor&) {},
         "Data not written to full.zor\ncannot write /dev/full: No space left on device", 0,
         "full.zor", "/dev/full"},
        {"a name outside Windows-1252", [](CZor& z) { z.Patient.Famname = "\xC5\x81ukasiewicz"; },
         "Data not written to r.zor\nthe Name holds a character outside Windows-1252"},
        {"a record forged in the name",
         [](CZor& z) { z.Patient.Famname = "X\"\r\n\"-------> OLTA-ZOR 2002  File: forged.zor"; },
         "Data not written to r.zor\nthe Name holds a double quote or a control character"},
        {"a line break in the report's name", [](CZor&) {},
         "Data not written to r\n.zor\nthe Data File holds a double quote or a control character",
         0, "r\n.zor"}};
    for (const auto& c : rows) {
        SCOPED_TRACE(c.what);
        CZor z;
        Cases::upright(z);
        c.damage(z);
        RecordingOpener opener;
        RecordingMessages messages;
        ScopedMessages elsewhere; // nothing may go past the caller's messages
        Calc::ReportTarget report{c.path.empty() ? dir.file(c.name) : c.path, c.name};
        EXPECT_FALSE(Calc::RunAnalysis(z, opener, report, messages, FixedClock({2026, 12, 7})));
        ASSERT_EQ(messages.messages.size(), c.message.empty() ? 0u : 1u);
        if (!c.message.empty()) {
            EXPECT_EQ(messages.messages[0].caption, "Zor Error");
            EXPECT_EQ(messages.messages[0].text, c.message);
            EXPECT_EQ(messages.messages[0].icon, MessageIcon::Critical);
        }
        EXPECT_EQ(opener.opened,
                  c.dialogFlag ? std::vector<int>{c.dialogFlag} : std::vector<int>{});
        EXPECT_TRUE(std::filesystem::is_empty(dir.path())) << "no report";
        EXPECT_TRUE(elsewhere.recorder.messages.empty());
    }
}

} // namespace
