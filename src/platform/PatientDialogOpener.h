#pragma once

// Opens the patient dialog with the boxes named by `redFlag` highlighted;
// implemented by the window, recorded in tests.
class PatientDialogOpener {
public:
    virtual ~PatientDialogOpener() = default;
    virtual void openPatientDialog(int redFlag) = 0;
};
