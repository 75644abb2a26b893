#pragma once

#include "analysis/AnalysisResult.h"
#include "analysis/Calc.h"
#include "platform/Clock.h"
#include "platform/UserMessages.h"

#include <string>

class CZor;

// Appending one record to a study's result report.
namespace ResultReport {

// The report of a case: Patient.DatFile + ".zor" (the extension always
// appended). A relative entry names a file in the folder of the open image,
// where it has always landed; path and name then differ, the name staying
// as entered.
Calc::ReportTarget targetFor(const std::string& datFile, const std::string& imagePath);

// Formats the whole record and appends it in one write; on failure the file
// is cut back to its previous length, "Zor Error" names the file and the
// result is false. On success shows "Data written to <name>" (caption "Zor").
bool append(const Calc::ReportTarget& target, const CZor& zor, const AnalysisResult& result,
            UserMessages& messages, const Clock& clock);

} // namespace ResultReport
