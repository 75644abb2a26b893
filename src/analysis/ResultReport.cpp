#include "analysis/ResultReport.h"

#include "analysis/ReportFormat.h"
#include "casefile/FileIO.h"
#include "model/CZor.h"

#include <filesystem>
#include <optional>

namespace ResultReport {

Calc::ReportTarget targetFor(const std::string& datFile, const std::string& imagePath)
{
    std::string name = datFile + ".zor";
    std::filesystem::path p(name);
    if (p.is_absolute())
        return {name, name};
    std::filesystem::path folder = std::filesystem::path(imagePath).parent_path();
    return {folder.empty() ? name : (folder / p).string(), name};
}

bool append(const Calc::ReportTarget& target, const CZor& zor, const AnalysisResult& result,
            UserMessages& messages, const Clock& clock)
{
    ReportFormat::RecordTexts texts{target.name, zor.Patient.Famname, zor.Patient.Vorname,
                                    zor.Patient.Code, zor.Datum};
    std::string problem;
    std::optional<std::string> record =
        ReportFormat::record(texts, clock.today(), result, &problem);
    if (!record) {
        messages.showMessage("Zor Error", "Data not written to " + target.name + "\n" + problem,
                             MessageIcon::Critical);
        return false;
    }
    std::string error;
    if (!FileIO::appendWhole(target.path, *record, &error)) {
        messages.showMessage("Zor Error", "Data not written to " + target.name + "\n" + error,
                             MessageIcon::Critical);
        return false;
    }
    messages.showMessage("Zor", "Data written to " + target.name, MessageIcon::None);
    return true;
}

} // namespace ResultReport
