#pragma once

#include "platform/PatientDialogOpener.h"

#include <vector>

// Records the flags the patient dialog was opened with.
class RecordingOpener : public PatientDialogOpener {
public:
    void openPatientDialog(int redFlag) override { opened.push_back(redFlag); }

    std::vector<int> opened;
};
