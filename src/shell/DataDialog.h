#pragma once

#include <QDialog>

class CZor;
class QLineEdit;

// "Patient's Data": the date of the radiograph and the patient record of one
// case, six labelled boxes and no buttons; it is closed by its close box (or
// Escape). The main window's open_Patient(flag) does
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
    DataDialog(CZor& zor, int redFlag, QWidget* owner = nullptr);

    int RedFlag() const { return RedFlag_; }
    // The box that gets the focus when the dialog becomes active; nullptr
    // once it got it, or when nothing is highlighted.
    QLineEdit* focusTarget() const { return focusTarget_; }

    QLineEdit* E_Datum() const { return E_Datum_; }
    QLineEdit* E_Famname() const { return E_Famname_; }
    QLineEdit* E_Vorname() const { return E_Vorname_; }
    QLineEdit* E_Code() const { return E_Code_; }
    QLineEdit* E_Head() const { return E_Head_; }
    QLineEdit* E_DatFile() const { return E_DatFile_; }

    // Every way out (close box, Escape) ends here; a rejected date keeps the
    // dialog open.
    void done(int result) override;

protected:
    void changeEvent(QEvent* event) override;

private:
    CZor& zor_;
    int RedFlag_;
    QLineEdit* focusTarget_ = nullptr;
    QLineEdit* E_Datum_;
    QLineEdit* E_Famname_;
    QLineEdit* E_Vorname_;
    QLineEdit* E_Code_;
    QLineEdit* E_Head_;
    QLineEdit* E_DatFile_;
};
