#pragma once

#include "platform/PatientDialogOpener.h"

#include <functional>
#include <vector>

// Records the flags the patient dialog was opened with; can act as the user.
class RecordingOpener : public PatientDialogOpener {
public:
    void openPatientDialog(int redFlag) override
    {
        opened.push_back(redFlag);
        if (user)
            user(redFlag);
    }

    std::vector<int> opened;
    std::function<void(int)> user;
};
