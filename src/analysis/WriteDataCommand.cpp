#include "analysis/WriteDataCommand.h"

#include "analysis/Calc.h"
#include "analysis/ResultReport.h"
#include "casefile/BinFile.h"
#include "model/CZor.h"

#include <optional>

namespace WriteDataCommand {

int missingPatientFields(const CZor& zor)
{
    int flags = 0;
    if (zor.Datum.empty())
        flags += 1;
    if (zor.Patient.Famname.empty())
        flags += 2;
    if (zor.Patient.Vorname.empty())
        flags += 4;
    if (zor.Patient.DatFile.empty())
        flags += 256;
    return flags;
}

std::string fieldNames(int flags)
{
    struct Field {
        int bit;
        const char* label;
    };
    constexpr Field fields[] = {{1, "X-Ray Date"}, {2, "Name"},           {4, "First Name"},
                                {8, "Study - ID"}, {32, "Head Diameter"}, {256, "Data File"}};
    std::string names;
    for (const Field& f : fields) {
        if (flags & f.bit) {
            if (!names.empty())
                names += ", ";
            names += f.label;
        }
    }
    return names;
}

Outcome run(CZor& zor, const std::string& imagePath, UserMessages& messages, const Clock& clock,
            PatientDialogOpener& main)
{
    int missing = missingPatientFields(zor);
    if (missing != 0) {
        main.openPatientDialog(missing);
        return Outcome::PatientDataMissing;
    }
    Calc::ReportTarget report = ResultReport::targetFor(zor.Patient.DatFile, imagePath);
    if (!Calc::RunAnalysis(zor, main, report, messages, clock))
        return Outcome::AnalysisFailed;

    std::optional<std::string> landmarkFile = BinFile::LandmarkPath(imagePath);
    std::string error = "the image name has no extension";
    if (landmarkFile && BinFile::WriteLandmarkFile(*landmarkFile, zor, &error))
        return Outcome::Written;
    messages.showMessage("Zor Error",
                         "Landmark file not written: " + landmarkFile.value_or(imagePath + ".bit") +
                             "\n" + error,
                         MessageIcon::Critical);
    return Outcome::LandmarkFileFailed;
}

} // namespace WriteDataCommand
