#include "session/OpenCase.h"

#include "analysis/Calc.h"
#include "casefile/BinFile.h"
#include "casefile/DefaultPatient.h"

#include <cstdio>
#include <filesystem>
#include <utility>
#include <variant>

namespace {

// Whether the film's header names the patient of `p`: by the ID where either
// has one, else by the name.
bool samePatient(const CPatient& p, const RadiographInfo& film)
{
    if (!p.Code.empty() || !film.patientId.empty())
        return p.Code == film.patientId;
    return p.Famname == film.famname && p.Vorname == film.vorname;
}

} // namespace

void OpenCase::replace(const std::string& imagePath, const std::string& landmarkPath, CBitmap image,
                       RadiographInfo film)
{
    auto model = std::make_unique<CZor>();
    model->Visible = true;
    // The tools' items keep their states from case to case.
    const ToolSet usable = tools_ ? tools_->usableTools() : ToolSet::initial();
    tools_.reset(); // it refers to the old model
    zor_ = std::move(model);
    bitmap_ = std::move(image);
    tools_ = std::make_unique<ToolController>(*zor_, host_, surface_, messages_, usable);
    imagePath_ = imagePath;
    landmarkPath_ = landmarkPath;
    film_ = std::move(film);
}

bool OpenCase::read(CZor& into) const
{
    return BinFile::ReadLandmarkFile(landmarkPath_, bitmap_.W(), bitmap_.H(), into, messages_);
}

bool OpenCase::readOrStartNew()
{
    CZor fresh = *zor_;
    const bool wasRead = read(fresh);
    std::error_code ec;
    damagedFile_ = !wasRead && std::filesystem::exists(landmarkPath_, ec);
    if (wasRead) {
        *zor_ = std::move(fresh);
        zor_->DatFlag = true;
        DefaultPatient().copy(zor_->Patient);
        DefaultPatientFilm() = imagePath_;
        return true;
    }
    // A new case: nothing set yet.
    tools_->m_ResetLandmarks();
    const int16_t w = bitmap_.W();
    if (film_.mmPerPixel > 0.0 && zor_->initScale(w, bitmap_.H(), w * film_.mmPerPixel)) {
        zor_->CalibSource = film_.scaleSource;
    } else {
        zor_->initScale(w, bitmap_.H(), 430.0);
        // "not calibrated: pixels not square" keeps its reason.
        const bool told = film_.scaleSource.rfind(CZor::kNotCalibrated, 0) == 0;
        zor_->CalibSource = told ? film_.scaleSource : CZor::kNotCalibrated;
    }
    zor_->head.Valid = false;
    zor_->head.removeAll();
    if (film_.isDicom()) {
        zor_->Patient.copy(DefaultPatient());
        // A head size belongs to one patient: for another, Write Data asks
        // for it instead of measuring with the last patient's.
        if (!samePatient(DefaultPatient(), film_))
            zor_->Patient.HeadTR = 0.0;
        zor_->Patient.Famname = film_.famname;
        zor_->Patient.Vorname = film_.vorname;
        zor_->Patient.Code = film_.patientId;
        zor_->Datum = film_.date;
        zor_->DatFlag = true; // the patient dialog starts from these
    }
    return false;
}

bool OpenCase::reloadLandmarks()
{
    // Read into a copy: a damaged file must not half-overwrite the case
    // being worked on.
    CZor fresh = *zor_;
    if (!read(fresh))
        return false;
    *zor_ = std::move(fresh);
    damagedFile_ = false;
    return true;
}

void OpenCase::keepDamagedFile()
{
    if (!damagedFile_)
        return;
    std::error_code ec;
    for (int n = 1; n < 1000; ++n) {
        const std::string kept =
            landmarkPath_ + ".damaged" + (n == 1 ? std::string() : "-" + std::to_string(n));
        if (std::filesystem::exists(kept, ec))
            continue;
        damagedFile_ = !std::filesystem::copy_file(landmarkPath_, kept, ec);
        return;
    }
}

std::vector<std::string> OpenCase::writeWarnings() const
{
    std::vector<std::string> reasons;
    if (WriteDataCommand::missingPatientFields(*zor_) != 0)
        return reasons;
    const Calc::Outcome outcome = Calc::Analyse(*zor_);
    const auto* analysis = std::get_if<Calc::Analysis>(&outcome);
    if (!analysis)
        return reasons;
    if (!zor_->calibrated())
        reasons.push_back("the scale is not calibrated: " + zor_->scaleText());
    const double factor = analysis->result.factorHead;
    if (!(factor >= 1.0 && factor <= 1.35)) {
        char text[96];
        std::snprintf(text, sizeof text, "the head factor %.3f lies outside 1.0 to 1.35", factor);
        reasons.push_back(text);
    }
    const std::string& side = analysis->result.side;
    if (!film_.laterality.empty() && film_.laterality != side)
        reasons.push_back("the film is marked " + film_.laterality +
                          " in its header, but the analysis finds the stem on the " + side +
                          " side");
    return reasons;
}

WriteDataCommand::Outcome OpenCase::writeData(const Clock& clock, PatientDialogOpener& dialog)
{
    const std::vector<std::string> reasons = writeWarnings();
    if (!reasons.empty()) {
        std::string text = "Write the record all the same?";
        for (const std::string& r : reasons)
            text += "\n- " + r;
        if (!messages_.askYesNo("Zor", text))
            return WriteDataCommand::Outcome::Declined;
    }
    keepDamagedFile();
    return WriteDataCommand::run(*zor_, imagePath_, messages_, clock, dialog);
}

bool OpenCase::saveLandmarks(std::string* error)
{
    keepDamagedFile();
    return BinFile::WriteLandmarkFile(landmarkPath_, *zor_, error);
}

void OpenCase::restore(const CZor& zor, ToolSet usable)
{
    tools_.reset(); // a tool under way ends with it
    *zor_ = zor;
    tools_ = std::make_unique<ToolController>(*zor_, host_, surface_, messages_, usable);
}
