#include "casefile/DataDialogRules.h"

#include "../support/RecordingMessages.h"
#include "casefile/DefaultPatient.h"
#include "model/CZor.h"

#include <gtest/gtest.h>

namespace {

using F = DataField;

class DataDialogRulesTest : public testing::Test {
protected:
    void SetUp() override
    {
        CPatient p;
        p.Famname = "Default";
        p.Vorname = "Dora";
        p.Code = "D-1";
        p.HeadTR = 16.0;
        p.DatFile = "defaults";
        DefaultPatient().copy(p);
        zor.Patient.Famname = "Own";
        zor.Patient.Vorname = "Otto";
        zor.Patient.Code = "O-1";
        zor.Patient.HeadTR = 14.0;
        zor.Patient.DatFile = "own";
        zor.Datum = "20030212";
    }
    void TearDown() override { DefaultPatient().copy(CPatient()); }

    CZor zor;
    RecordingMessages messages;
};

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
    for (F f : {F::Datum, F::Famname, F::Vorname, F::Code, F::Head, F::DatFile}) {
        bool expected =
            std::find(h.highlighted.begin(), h.highlighted.end(), f) != h.highlighted.end();
        EXPECT_EQ(rules.highlighted(f), expected) << static_cast<int>(f);
    }
    EXPECT_EQ(rules.takeFocusTarget(), h.focus);
    EXPECT_EQ(rules.takeFocusTarget(), std::nullopt) << "taking the target clears it";
}

INSTANTIATE_TEST_SUITE_P(
    Flags, DataDialogHighlight,
    testing::Values(Highlight{0, {}, std::nullopt}, Highlight{32, {F::Head}, F::Head},
                    Highlight{1 + 2 + 256, {F::Datum, F::Famname, F::DatFile}, F::Datum},
                    Highlight{4 + 256, {F::Vorname, F::DatFile}, F::Vorname},
                    Highlight{8 + 32 + 256, {F::Code, F::Head, F::DatFile}, F::Code},
                    Highlight{16 + 64, {}, std::nullopt},
                    Highlight{1 + 2 + 4 + 8 + 32 + 256,
                              {F::Datum, F::Famname, F::Vorname, F::Code, F::Head, F::DatFile},
                              F::Datum}));

TEST_F(DataDialogRulesTest, ANewCaseShowsTheDefaultPatientAndTheCaseDate)
{
    zor.DatFlag = false;
    DataDialogRules rules(zor, 0);
    EXPECT_EQ(rules.text(F::Datum), "20030212");
    EXPECT_EQ(rules.text(F::Famname), "Default");
    EXPECT_EQ(rules.text(F::Vorname), "Dora");
    EXPECT_EQ(rules.text(F::Code), "D-1");
    EXPECT_EQ(rules.text(F::Head), "32");
    EXPECT_EQ(rules.text(F::DatFile), "defaults");
    EXPECT_TRUE(zor.DatFlag);
}

TEST_F(DataDialogRulesTest, ACaseReadFromFileShowsItsOwnPatient)
{
    zor.DatFlag = true;
    DataDialogRules rules(zor, 0);
    EXPECT_EQ(rules.text(F::Famname), "Own");
    EXPECT_EQ(rules.text(F::Head), "28");
    EXPECT_EQ(rules.text(F::DatFile), "own");
}

struct HeadShown {
    double headTR;
    const char* box;
};

class DataDialogHead : public testing::TestWithParam<HeadShown> {};

TEST_P(DataDialogHead, ShowsTheDiameterAsAWholeNumber)
{
    CZor zor;
    zor.DatFlag = true;
    zor.Patient.HeadTR = GetParam().headTR;
    EXPECT_EQ(DataDialogRules(zor, 0).text(F::Head), GetParam().box);
}

INSTANTIATE_TEST_SUITE_P(Values, DataDialogHead,
                         testing::Values(HeadShown{0.0, ""}, HeadShown{14.0, "28"},
                                         HeadShown{14.25, "28"}, HeadShown{14.75, "30"},
                                         HeadShown{13.75, "28"}, HeadShown{1e300, ""}));

TEST_F(DataDialogRulesTest, ClosingStoresTheBoxesIntoTheCaseAndTheDefault)
{
    DataDialogRules rules(zor, 0);
    rules.setText(F::Datum, "20040101");
    rules.setText(F::Famname, " Neu ");
    rules.setText(F::Head, "28");
    rules.setText(F::DatFile, "/data/hips");
    EXPECT_TRUE(rules.close(messages));
    EXPECT_TRUE(messages.messages.empty());
    EXPECT_EQ(zor.Datum, "20040101");
    for (const CPatient* p : {&zor.Patient, &DefaultPatient()}) {
        EXPECT_EQ(p->Famname, " Neu ") << "texts are stored as typed";
        EXPECT_EQ(p->Vorname, "Dora");
        EXPECT_EQ(p->HeadTR, 14.0);
        EXPECT_EQ(p->DatFile, "/data/hips");
    }
}

TEST_F(DataDialogRulesTest, AHeadThatIsNoNumberIsStoredAsZero)
{
    DataDialogRules rules(zor, 0);
    rules.setText(F::Head, "big");
    EXPECT_TRUE(rules.close(messages));
    EXPECT_EQ(zor.Patient.HeadTR, 0.0);
    EXPECT_EQ(DataDialogRules(zor, 0).text(F::Head), "");
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
        EXPECT_EQ(zor.Patient.Famname, "Typed");
        return;
    }
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_EQ(messages.messages[0].caption, "Date Format Error");
    EXPECT_EQ(messages.messages[0].text, "invalid Date Format!\nuse 'yyyymmdd'");
    EXPECT_EQ(messages.messages[0].icon, MessageIcon::Critical);
    EXPECT_EQ(zor.Datum, "") << "the case's date is emptied at once";
    EXPECT_EQ(rules.text(F::Datum), "");
    EXPECT_EQ(rules.takeFocusTarget(), F::Datum);
    EXPECT_EQ(zor.Patient.Famname, "Kept") << "nothing is stored";
    rules.setText(F::Datum, "20030212");
    EXPECT_TRUE(rules.close(messages)) << "a corrected date lets the dialog close";
}

INSTANTIATE_TEST_SUITE_P(Dates, DataDialogDate,
                         testing::Values(DateCase{"", true}, DateCase{"20030212", true},
                                         DateCase{"20030229", true}, DateCase{"abcd1231", true},
                                         DateCase{"20031201", true}, DateCase{"2003021", false},
                                         DateCase{"200302121", false}, DateCase{"20031312", false},
                                         DateCase{"20030012", false}, DateCase{"20030100", false},
                                         DateCase{"20030132", false}, DateCase{"2003ab12", false},
                                         DateCase{"200302 1", false}, DateCase{"2003-2-1", false},
                                         DateCase{"2003\xC3\xBC"
                                                  "212",
                                                  false}));

} // namespace
