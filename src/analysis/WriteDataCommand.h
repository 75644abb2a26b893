#pragma once

#include "platform/Clock.h"
#include "platform/PatientDialogOpener.h"
#include "platform/UserMessages.h"

#include <string>

class CZor;

// "&Write Data" without its window. The main window's handler is just
//
//     WriteDataCommand::run(zor, imagePath, messages, clock, *this);
//
// with imagePath the path of the open image, messages the window's message
// boxes (or userMessages()), clock a SystemClock and the window itself as
// the PatientDialogOpener (its open_Patient). The result says what happened;
// every message has been shown by then, so the window only repaints.
namespace WriteDataCommand {

enum class Outcome {
    PatientDataMissing, // the dialog was opened with the missing fields; nothing written
    AnalysisFailed,     // the analysis told the user why; nothing written
    LandmarkFileFailed, // the report record was appended, the landmark file not ("Zor Error")
    Written,            // report record appended and landmark file rewritten
    Declined,           // the user answered No to a warning before writing; nothing written
};

// The flag word of missing patient data: 1 date, 2 name, 4 first name,
// 256 data file; 0 when complete.
int missingPatientFields(const CZor& zor);

// The dialog labels of the fields in a flag word ("X-Ray Date, Name"),
// for messages where no dialog can be opened.
std::string fieldNames(int flags);

// 1. Missing patient data: main.openPatientDialog(flags), stop.
// 2. Calc::RunAnalysis with the report Patient.DatFile + ".zor" (a relative
//    entry lies in the folder of imagePath). A text the record cannot hold
//    (RecordText::fits) is refused there, naming the field, before anything
//    is written.
// 3. When the record was written: rewrite the landmark file beside the image
//    (BinFile::LandmarkPath) atomically; a failure shows "Zor Error" naming
//    the file and the reason, and the previous landmark file stays.
Outcome run(CZor& zor, const std::string& imagePath, UserMessages& messages, const Clock& clock,
            PatientDialogOpener& main);

} // namespace WriteDataCommand
