#include "casefile/DataDialogRules.h"

#include "../support/RecordingMessages.h"
#include "casefile/DefaultPatient.h"
#include "model/CZor.h"

#include <algorithm>
#include <gtest/gtest.h>

namespace {

using F = DataField;

struct Highlight {
    int redFlag;
    std::vector<F> highlighted;
    std::optional<F> focus;
};

class DataDialogHighlight : public testing::TestWithParam<Highlight> {};

TEST_P(DataDialogHighlight, MarksTheBoxesAndFocusesTheHighestOne)
{
    const Highlight& h = GetParam();
    CZor zor;
    DataDialogRules rules(zor, h.redFlag);
    for (F f : {F::Datum, F::Famname, F::Vorname, F::Code, F::Head, F::DatFile})
        EXPECT_EQ(rules.highlighted(f), std::ranges::count(h.highlighted, f) == 1) << int(f);
    EXPECT_EQ(rules.takeFocusTarget(), h.focus);
    EXPECT_EQ(rules.takeFocusTarget(), std::nullopt) << "taking the target clears it";
}

INSTANTIATE_TEST_SUITE_P(
    Flags, DataDialogHighlight,
    testing::Values(Highlight{0, {}, std::nullopt}, Highlight{32, {F::Head}, F::Head},
                    Highlight{1 + 2 + 256, {F::Datum, F::Famname, F::DatFile}, F::Datum},
                    Highlight{4 + 256, {F::Vorname, F::DatFile}, F::Vorname},
                    Highlight{8 + 32 + 256, {F::Code, F::Head, F::DatFile}, F::Code},
                    Highlight{16 + 64, {}, std::nullopt}));

class DataDialogRulesTest : public testing::Test {
protected:
    void SetUp() override
    {
        CPatient p;
        p.Famname = "Default";
        p.Vorname = "Dora";
        p.HeadTR = 16.0;
        DefaultPatient().copy(p);
        zor.Patient.Famname = "Own";
        zor.Patient.HeadTR = 14.0;
        zor.Datum = "20030212";
    }
    void TearDown() override { DefaultPatient().copy(CPatient()); }

    CZor zor;
    RecordingMessages messages;
};

TEST_F(DataDialogRulesTest, ANewCaseShowsTheDefaultPatientAReadOneItsOwn)
{
    zor.DatFlag = false;
    DataDialogRules fresh(zor, 0);
    EXPECT_EQ(fresh.text(F::Datum), "20030212");
    EXPECT_EQ(fresh.text(F::Famname), "Default");
    EXPECT_EQ(fresh.text(F::Head), "32");
    EXPECT_TRUE(zor.DatFlag);
    DataDialogRules read(zor, 0);
    EXPECT_EQ(read.text(F::Famname), "Own");
    EXPECT_EQ(read.text(F::Head), "28");
    // The diameter as a whole number, halves to even; none for 0 or out of range.
    for (auto [radius, box] : {std::pair{14.25, "28"}, {14.75, "30"}, {0.0, ""}, {1e300, ""}}) {
        zor.Patient.HeadTR = radius;
        EXPECT_EQ(DataDialogRules(zor, 0).text(F::Head), box) << radius;
    }
}

TEST_F(DataDialogRulesTest, ClosingStoresTheBoxesIntoTheCaseAndTheDefault)
{
    DataDialogRules rules(zor, 0);
    rules.setText(F::Datum, "20040101");
    rules.setText(F::Famname, " Neu ");
    rules.setText(F::DatFile, "/data/hips");
    EXPECT_TRUE(rules.close(messages));
    EXPECT_TRUE(messages.messages.empty());
    EXPECT_EQ(zor.Datum, "20040101");
    for (const CPatient* p : {&zor.Patient, &DefaultPatient()}) {
        EXPECT_EQ(p->Famname, " Neu ") << "texts are stored as typed";
        EXPECT_EQ(p->Vorname, "Dora");
        EXPECT_EQ(p->HeadTR, 16.0);
        EXPECT_EQ(p->DatFile, "/data/hips");
    }
    rules.setText(F::Head, "big");
    EXPECT_TRUE(rules.close(messages));
    EXPECT_EQ(zor.Patient.HeadTR, 0.0) << "a head that is no number";
}

struct DateCase {
    const char* text;
    bool valid;
};

class DataDialogDate : public testing::TestWithParam<DateCase> {};

TEST_P(DataDialogDate, ChecksTheForm)
{
    const DateCase& d = GetParam();
    CZor zor;
    zor.Datum = "19990101";
    zor.Patient.Famname = "Kept";
    zor.DatFlag = true;
    DataDialogRules rules(zor, 0);
    rules.setText(F::Datum, d.text);
    rules.setText(F::Famname, "Typed");
    RecordingMessages messages;
    EXPECT_EQ(rules.close(messages), d.valid);
    if (d.valid) {
        EXPECT_TRUE(messages.messages.empty());
        EXPECT_EQ(zor.Datum, d.text);
        return;
    }
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_EQ(messages.messages[0].caption, "Date Format Error");
    EXPECT_EQ(messages.messages[0].text, "invalid Date Format!\nuse 'yyyymmdd'");
    EXPECT_EQ(zor.Datum, "") << "the case's date is emptied at once";
    EXPECT_EQ(rules.text(F::Datum), "");
    EXPECT_EQ(rules.takeFocusTarget(), F::Datum);
    EXPECT_EQ(zor.Patient.Famname, "Kept") << "nothing is stored";
}

INSTANTIATE_TEST_SUITE_P(Dates, DataDialogDate,
                         testing::Values(DateCase{"", true}, DateCase{"20031231", true},
                                         DateCase{"abcd0101", true}, DateCase{"2003021", false},
                                         DateCase{"200302121", false}, DateCase{"20031312", false},
                                         DateCase{"20030012", false}, DateCase{"20030100", false},
                                         DateCase{"20030132", false}, DateCase{"2003ab12", false},
                                         DateCase{"200302 1", false}));

} // namespace
