#pragma once

#include "analysis/AnalysisResult.h"
#include "platform/Clock.h"

#include <optional>
#include <string>

// The ten-line record of the result report, in the comma-separated form the
// study's evaluation tools read: texts quoted, dates as #yyyy-mm-dd#, numbers
// in plain decimal, lines ended by CR LF, texts in Windows-1252.
namespace ReportFormat {

// The shortest decimal text that reads back to the same double: a period, a
// leading zero, no trailing zeros, and an exponent ("1.5E+20", "1E-05") only
// outside 1e-4 <= |v| < 1e15. Negative zero is written 0.
std::string number(double v);

// "#yyyy-mm-dd#".
std::string date(CalendarDate d);

// What a record holds besides the analysis; texts in UTF-8.
struct RecordTexts {
    std::string fileName; // report file name as shown in line 1
    std::string famname;
    std::string vorname;
    std::string code;
    std::string datum;
};

// The whole record as bytes. When a text cannot be held in Windows-1252 or
// would break the record (RecordText::fits), no record is made and *problem
// names the text and why ("the Name holds ...").
std::optional<std::string> record(const RecordTexts& texts, CalendarDate today,
                                  const AnalysisResult& result, std::string* problem = nullptr);

} // namespace ReportFormat
