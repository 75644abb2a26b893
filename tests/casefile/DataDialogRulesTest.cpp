#include "casefile/DataDialogRules.h"

#include "../support/RecordingMessages.h"
#include "casefile/DefaultPatient.h"
#include "casefile/RecordText.h"
#include "model/CZor.h"

#include <algorithm>
#include <gtest/gtest.h>

namespace {

using F = DataField;

TEST(DataDialogRules, MarksTheFlaggedBoxesAndFocusesTheHighestOne)
{
    struct Row {
        int redFlag;
        std::vector<F> highlighted;
        std::optional<F> focus;
    };
    for (const Row& row : {Row{1 + 2 + 256, {F::Datum, F::Famname, F::DatFile}, F::Datum},
                           Row{4 + 8 + 32, {F::Vorname, F::Code, F::Head}, F::Vorname},
                           Row{16 + 64, {}, std::nullopt}}) {
        SCOPED_TRACE(row.redFlag);
        CZor zor;
        DataDialogRules rules(zor, row.redFlag);
        for (F f : {F::Datum, F::Famname, F::Vorname, F::Code, F::Head, F::DatFile})
            EXPECT_EQ(rules.highlighted(f), std::ranges::count(row.highlighted, f) == 1) << int(f);
        EXPECT_EQ(rules.takeFocusTarget(), row.focus);
        EXPECT_EQ(rules.takeFocusTarget(), std::nullopt) << "taking the target clears it";
    }
}

TEST(DataDialogRules, ShowsTheHeadDiameterAsAWholeNumber)
{
    CZor zor;
    zor.DatFlag = true;
    for (auto [radius, box] : {std::pair{14.25, "28"}, {14.75, "30"}, {0.0, ""}, {1e300, ""}}) {
        zor.Patient.HeadTR = radius;
        EXPECT_EQ(DataDialogRules(zor, 0).text(F::Head), box) << radius; // halves to even
    }
}

// A malformed date or a text the report cannot hold keeps the dialog open on
// its box with one message; nothing is stored, and only a malformed date
// empties the case's date.
TEST(DataDialogRules, ARefusedEntryKeepsTheDialogOpenOnItsBox)
{
    const std::pair<const char*, bool> dates[] = {
        {"", true},           {"20031231", true},  {"abcd0101", true},  {"2003021", false},
        {"200302121", false}, {"20031312", false}, {"20030012", false}, {"20030100", false},
        {"20030132", false},  {"2003ab12", false}, {"200302 1", false}};
    for (auto [date, valid] : dates)
        EXPECT_EQ(DataDialogRules::isValidDatum(date), valid) << date;

    const char* forged = "Forged\r\n\"-------> ";
    const std::pair<F, const char*> rows[] = {{F::Datum, "20031312"}, {F::Datum, "2\"030212"},
                                              {F::Famname, forged},   {F::Vorname, forged},
                                              {F::Code, forged},      {F::DatFile, forged}};
    for (auto [f, typed] : rows) {
        SCOPED_TRACE(typed);
        const bool badDate = f == F::Datum && !DataDialogRules::isValidDatum(typed);
        CZor zor;
        zor.Datum = "20030212";
        zor.Patient.Famname = "Own";
        zor.DatFlag = true;
        DataDialogRules rules(zor, 0);
        rules.setText(F::Famname, "Typed");
        rules.setText(f, typed);
        RecordingMessages messages;
        EXPECT_FALSE(rules.close(messages));
        ASSERT_EQ(messages.messages.size(), 1u);
        EXPECT_EQ(messages.messages[0].caption, badDate ? "Date Format Error" : "Patient's Data");
        EXPECT_EQ(messages.messages[0].text,
                  badDate ? "invalid Date Format!\nuse 'yyyymmdd'"
                          : "the " + std::string(RecordText::label(f)) +
                                " holds a double quote or a control character"
                                "\nremove it: the report cannot hold it");
        EXPECT_EQ(rules.takeFocusTarget(), f);
        EXPECT_EQ(rules.text(f), badDate ? "" : typed) << "a refused text stays in its box";
        EXPECT_EQ(zor.Datum, badDate ? "" : "20030212") << "a refused text keeps the date";
        EXPECT_EQ(zor.Patient.Famname, "Own") << "nothing is stored";
    }
}

TEST(RecordText, RefusesWhatWouldEndAnItemOrALineOfTheReport)
{
    for (const char* text : {"M\xC3\xBCller-O'Neil, Jr. (\xE2\x82\xAC)", "\xC2\xA0no-break space"})
        EXPECT_TRUE(RecordText::fits(text)) << text;
    for (const char* text : {"a\"b", "a\rb", "a\nb", "tab\t", "\x01", "del\x7F",
                             "C1 next line \xC2\x85", "C1 \xC2\x9D"})
        EXPECT_FALSE(RecordText::fits(text)) << text;
}

// A new case shows the last patient entered, marked as carried over, and
// from then on counts as having data; a case with data shows its own.
TEST(DataDialogRules, MarksValuesCarriedOverFromThePreviousFilm)
{
    DefaultPatient() = CPatient{};
    DefaultPatient().Famname = "Last";
    DefaultPatient().HeadTR = 14;
    DefaultPatientFilm() = "/films/a.jpg";
    CZor fresh;
    DataDialogRules rules(fresh, 0, "/films/b.jpg");
    for (auto [f, carried] :
         {std::pair{F::Datum, false}, {F::Famname, true}, {F::Vorname, false}, {F::Head, true}})
        EXPECT_EQ(rules.carried(f), carried) << int(f);
    EXPECT_EQ(rules.carriedFrom(), "/films/a.jpg");
    RecordingMessages messages;
    ASSERT_TRUE(rules.close(messages));
    EXPECT_EQ(DefaultPatientFilm(), "/films/b.jpg");
    DefaultPatient().Famname = "Other";
    EXPECT_FALSE(DataDialogRules(fresh, 0).carried(F::Famname)) << "the case's own values now";
    EXPECT_EQ(DataDialogRules(fresh, 0).text(F::Famname), "Last");
    DefaultPatient() = CPatient{};
    DefaultPatientFilm().clear();
}

} // namespace
