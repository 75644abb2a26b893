#pragma once

#include "analysis/AnalysisResult.h"
#include "platform/Clock.h"
#include "platform/PatientDialogOpener.h"
#include "platform/UserMessages.h"

#include <optional>
#include <string>

class CZor;

// The migration analysis of one case.
namespace Calc {

// Where a report record goes: the file to append to, and its name as the
// record's first line and the confirmation show it.
struct ReportTarget {
    std::string path;
    std::string name;
};

// Checks the landmarks and computes the stem's parameters. On a missing
// landmark, a missing intersection or a value that is not finite it tells
// the user ("Zor Error") and gives none; with a head diameter of 0 it opens
// the patient dialog with flag 32 instead and gives none once it closed.
// Leaves the stem frame (SinA, CosA, Center) in zor; no landmark changes.
std::optional<AnalysisResult> Analyse(CZor& zor, PatientDialogOpener& main, UserMessages& messages);

// Analyse, then append the record to the report and confirm ("Data written
// to <name>", caption "Zor"). True only when the record was appended; a
// failed append leaves the report as it was and is reported ("Zor Error").
bool RunAnalysis(CZor& zor, PatientDialogOpener& main, const ReportTarget& report,
                 UserMessages& messages, const Clock& clock);

} // namespace Calc
