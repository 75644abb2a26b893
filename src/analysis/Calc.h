#pragma once

#include "analysis/AnalysisResult.h"
#include "model/CZor.h"
#include "platform/Clock.h"
#include "platform/PatientDialogOpener.h"
#include "platform/UserMessages.h"

#include <string>
#include <variant>

// The migration analysis of one case.
namespace Calc {

// Where a report record goes: the file to append to, and its name as the
// record's first line and the confirmation show it.
struct ReportTarget {
    std::string path;
    std::string name;
};

// The stem's parameters and the frame they were measured in.
struct Analysis {
    AnalysisResult result;
    StemFrame frame;
};

// Why a case gives no result, in the two lines the user is shown
// ("Femur Points missing", "use Measurement Tool '8 Points'").
struct Refusal {
    std::string what;
    std::string how;
    bool operator==(const Refusal&) const = default;
};

// The head diameter is needed first: the patient dialog with these boxes.
struct PatientDataNeeded {
    int redFlag = 32;
    bool operator==(const PatientDataNeeded&) const = default;
};

using Outcome = std::variant<Analysis, Refusal, PatientDataNeeded>;

// Checks the landmarks and computes the stem's parameters: a refusal for a
// missing landmark (a head without a fitted circle among them), a missing
// intersection or a value that is not finite, PatientDataNeeded for a head
// diameter not above 0. Shows nothing, changes nothing.
Outcome Analyse(const CZor& zor);

// Shows an outcome that is no result: a refusal as "Zor Error" with its two
// lines (Critical), PatientDataNeeded by opening the patient dialog.
void Show(const Outcome& outcome, PatientDialogOpener& main, UserMessages& messages);

// Analyse and Show, then keep the stem frame in zor (SinA, CosA, Center),
// append the record to the report and confirm ("Data written to <name>",
// caption "Zor"). True only when the record was appended; a failed append
// leaves the report as it was and is reported ("Zor Error").
bool RunAnalysis(CZor& zor, PatientDialogOpener& main, const ReportTarget& report,
                 UserMessages& messages, const Clock& clock);

} // namespace Calc
