#pragma once

#include "platform/UserMessages.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>

class CZor;

// The six boxes of the patient dialog, top to bottom.
enum class DataField { Datum, Famname, Vorname, Code, Head, DatFile };

// What the "Patient's Data" dialog does, without its widgets; the Qt
// DataDialog only shows this object. Use:
//
//     DataDialogRules rules(zor, redFlag);       // form load (fills, sets DatFlag)
//     for each field f: box(f).setText(rules.text(f)),
//         paint it DataDialogRules::highlightColor when rules.highlighted(f);
//     on activation: if (auto f = rules.takeFocusTarget()) focus box(f);
//     on a close request: copy every box into rules.setText(f, ...), then
//         if (!rules.close()) { box(Datum).setText(rules.text(Datum));
//                               focus the box of rules.takeFocusTarget();
//                               keep the dialog open; }
//
// The rules object keeps a reference to zor; it must not outlive it.
class DataDialogRules {
public:
    // Highlight colour of a box named in redFlag, 0x00BBGGRR (red 255,
    // green 192, blue 255).
    static constexpr uint32_t highlightColor = 0xFFC0FF;

    // The bit of a box in the dialog's flag word (1, 2, 4, 8, 32, 256).
    static int bitOf(DataField field);

    // Form load: marks the boxes named in redFlag (the highest one becomes
    // the focus target), fills the boxes from zor.Patient when zor.DatFlag
    // is set, else from DefaultPatient(), and sets zor.DatFlag.
    // `film` is the open film; closing makes it the film DefaultPatient()
    // comes from.
    DataDialogRules(CZor& zor, int redFlag, std::string film = {});

    int RedFlag() const { return redFlag_; }
    bool highlighted(DataField field) const { return (redFlag_ & bitOf(field)) != 0; }

    // Texts of the boxes (UTF-8), as filled at load and typed since.
    const std::string& text(DataField field) const { return texts_[index(field)]; }
    void setText(DataField field, std::string text) { texts_[index(field)] = std::move(text); }

    // A box filled from DefaultPatient() rather than from the case (a text
    // that is not empty, the date never): the previous patient's values,
    // which the user has to check. carriedFrom() names their film ("" when
    // unknown).
    bool carried(DataField field) const { return carried_[index(field)]; }
    const std::string& carriedFrom() const { return carriedFrom_; }

    // The box to focus when the dialog becomes active; the target is cleared
    // by taking it.
    std::optional<DataField> takeFocusTarget();

    // Form unload. Empties zor.Datum, then checks the date box. A malformed
    // date is reported ("Date Format Error") through messages, the date box
    // is emptied and becomes the focus target, nothing is stored, and the
    // result is false: the dialog must stay open. Otherwise zor.Datum takes
    // the date, the boxes are stored into zor.Patient and DefaultPatient(),
    // and the result is true. A text box holding what a report record cannot
    // hold (RecordText::fits) is refused the same way, with a message naming
    // the box; the box keeps its text and becomes the focus target.
    bool close(UserMessages& messages);

    // The date rule: empty, or 8 characters whose 5th-6th are a month 1-12
    // and 7th-8th a day 1-31 (the year is not checked).
    static bool isValidDatum(const std::string& datum);

private:
    static size_t index(DataField field) { return static_cast<size_t>(field); }

    CZor& zor_;
    int redFlag_;
    std::optional<DataField> focusTarget_;
    std::array<std::string, 6> texts_;
    std::array<bool, 6> carried_{};
    std::string film_;
    std::string carriedFrom_;
};
