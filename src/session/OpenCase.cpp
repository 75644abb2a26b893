#include "session/OpenCase.h"

#include "casefile/BinFile.h"
#include "casefile/DefaultPatient.h"

#include <utility>

void OpenCase::replace(const std::string& imagePath, const std::string& landmarkPath, CBitmap image)
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
}

bool OpenCase::read(CZor& into) const
{
    return BinFile::ReadLandmarkFile(landmarkPath_, bitmap_.W(), bitmap_.H(), into, messages_);
}

bool OpenCase::readOrStartNew()
{
    CZor fresh = *zor_;
    if (read(fresh)) {
        *zor_ = std::move(fresh);
        zor_->DatFlag = true;
        DefaultPatient().copy(zor_->Patient);
        return true;
    }
    // A new case: nothing set yet, the film taken as 430 mm wide.
    tools_->m_ResetLandmarks();
    zor_->initScale(bitmap_.W(), bitmap_.H(), 430.0);
    zor_->head.Valid = false;
    zor_->head.removeAll();
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
    return true;
}

WriteDataCommand::Outcome OpenCase::writeData(const Clock& clock, PatientDialogOpener& dialog)
{
    return WriteDataCommand::run(*zor_, imagePath_, messages_, clock, dialog);
}
