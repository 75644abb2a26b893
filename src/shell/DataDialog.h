#pragma once

#include "casefile/DataDialogRules.h"

#include <QDialog>

#include <array>

class CZor;
class QLabel;
class QLineEdit;
class QPushButton;

// "Patient's Data": the date of the radiograph and the patient record of one
// case, six labelled boxes and an "OK" button (the default, Return) that
// closes it exactly as its close box (or Escape) does. The main window's open_Patient(flag) does
//     DataDialog dialog(zor, flag, this);
//     dialog.exec();
// and returns after it closed. `redFlag` is the bit set of boxes to
// highlight (1 date, 2 name, 4 first name, 8 study id, 32 head diameter,
// 256 data file); the highest highlighted box gets the focus.
//
// Closing checks the date: a malformed one is reported ("Date Format
// Error") through userMessages(), the date box is emptied and the dialog
// stays open. Otherwise the boxes are stored into zor.Patient and
// DefaultPatient. Tests show() the dialog, type, and call close().
class DataDialog : public QDialog {
    Q_OBJECT
public:
    // `film` is the open film's path: the film the patient data belongs to.
    DataDialog(CZor& zor, int redFlag, QWidget* owner = nullptr, const QString& film = {});

    int RedFlag() const { return rules_.RedFlag(); }
    // The box that gets the focus when the dialog becomes active; nullptr
    // once it got it, or when nothing is highlighted.
    QLineEdit* focusTarget() const { return focusTarget_; }

    QLineEdit* box(DataField field) const { return boxes_[static_cast<size_t>(field)]; }
    QLineEdit* E_Datum() const { return box(DataField::Datum); }
    QLineEdit* E_Famname() const { return box(DataField::Famname); }
    QLineEdit* E_Vorname() const { return box(DataField::Vorname); }
    QLineEdit* E_Code() const { return box(DataField::Code); }
    QLineEdit* E_Head() const { return box(DataField::Head); }
    QLineEdit* E_DatFile() const { return box(DataField::DatFile); }
    QPushButton* okButton() const { return ok_; }
    // Whether a box still shows a value carried over from the previous
    // case, unedited; the note above the boxes names that case's film.
    bool markedCarried(DataField field) const;
    QLabel* carriedNote() const { return carriedNote_; }

    // Every way out (close box, Escape) ends here; a rejected date keeps the
    // dialog open.
    void done(int result) override;

protected:
    void changeEvent(QEvent* event) override;

private:
    void takeFocusTarget();
    void paintBox(DataField field);

    DataDialogRules rules_;
    std::array<QLineEdit*, 6> boxes_{};
    QLineEdit* focusTarget_ = nullptr;
    std::array<bool, 6> carried_{};
    QPushButton* ok_ = nullptr;
    QLabel* carriedNote_ = nullptr;
};
