#include "analysis/Calc.h"
#include "analysis/ResultReport.h"
#include "analysis/WriteDataCommand.h"
#include "app/cli/AnalyseMessages.h"
#include "app/cli/AnalyseOptions.h"
#include "app/cli/Cli.h"
#include "casefile/BinFile.h"
#include "imageio/RadiographFile.h"
#include "model/CZor.h"

#include <filesystem>
#include <memory>

namespace Cli {

namespace {

// Without a window no dialog can ask for what is missing: say what it is.
class NoPatientDialog : public PatientDialogOpener {
public:
    explicit NoPatientDialog(UserMessages& messages) : messages_(messages) {}
    void openPatientDialog(int redFlag) override { reportMissing(messages_, redFlag); }

    static void reportMissing(UserMessages& messages, int flags)
    {
        messages.showMessage("Zor Error",
                             "Patient's Data missing: " + WriteDataCommand::fieldNames(flags) +
                                 "\nenter it with \"&Patient's Data\"",
                             MessageIcon::Critical);
    }

private:
    UserMessages& messages_;
};

bool loadError(UserMessages& messages, const std::string& why)
{
    messages.showMessage("Error", "load Error: " + why, MessageIcon::Critical);
    return false;
}

// The image checked by the window's loader, from its header.
bool imageSize(const std::string& path, int& w, int& h, UserMessages& messages)
{
    RadiographInfo info;
    std::string error;
    if (!RadiographFile::readHeader(path, info, error))
        return loadError(messages, error);
    w = info.width;
    h = info.height;
    return true;
}

bool analyseCase(const std::string& path, const AnalyseOptions& o, UserMessages& messages,
                 const Clock& clock)
{
    std::string landmarkFile = path;
    int w = o.width;
    int h = o.height;
    if (!AnalyseOptions::isLandmarkFile(path)) {
        std::optional<std::string> bit = BinFile::LandmarkPath(path);
        if (!bit)
            return loadError(messages, "the image name " + path + " has no extension");
        landmarkFile = *bit;
        if (!imageSize(path, w, h, messages))
            return false;
    }

    CZor zor;
    if (!BinFile::ReadLandmarkFile(landmarkFile, static_cast<int16_t>(w), static_cast<int16_t>(h),
                                   zor, messages)) {
        if (!std::filesystem::exists(landmarkFile))
            messages.showMessage("Zor Error", "no landmark file " + landmarkFile,
                                 MessageIcon::Critical);
        return false;
    }
    zor.DatFlag = true;

    int missing = WriteDataCommand::missingPatientFields(zor);
    if (o.report)
        missing &= ~256; // the record goes to --report, the entry is not needed
    if (missing != 0) {
        NoPatientDialog::reportMissing(messages, missing);
        return false;
    }
    Calc::ReportTarget target = o.report ? Calc::ReportTarget{*o.report, *o.report}
                                         : ResultReport::targetFor(zor.Patient.DatFile, path);
    NoPatientDialog noDialog(messages);
    return Calc::RunAnalysis(zor, noDialog, target, messages, clock);
}

} // namespace

int analyse(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    std::optional<AnalyseOptions> options = AnalyseOptions::parse(args, err);
    if (!options)
        return 2;
    if (options->help) {
        AnalyseOptions::usage(out);
        return 0;
    }
    AnalyseMessages messages(out, err);
    std::unique_ptr<Clock> clock;
    if (options->today)
        clock = std::make_unique<FixedClock>(*options->today);
    else
        clock = std::make_unique<SystemClock>();

    int failed = 0;
    for (const std::string& c : options->cases) {
        if (!analyseCase(c, *options, messages, *clock)) {
            ++failed;
            err << "zor-cli analyse: " << c << ": no record written\n";
        }
    }
    return failed == 0 ? 0 : 1;
}

} // namespace Cli
