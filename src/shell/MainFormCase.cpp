#include "casefile/BinFile.h"
#include "platform/UserMessages.h"
#include "shell/CaseWorkflow.h"
#include "shell/MainForm.h"

// The case files: the landmark file and "&Write Data".

QString MainForm::landmarkFileFor(const QString& imagePath)
{
    const auto path = BinFile::LandmarkPath(imagePath.toStdString());
    return path ? QString::fromStdString(*path) : QString();
}

void MainForm::m_Write_dat_Click()
{
    if (!zor())
        return;
    static const SystemClock systemClock;
    const Clock& clock = services_.clock ? *services_.clock : systemClock;
    const auto outcome = case_->writeData(clock, *this);
    workflow_->nameNextEdit("Write Data");
    if (outcome == WriteDataCommand::Outcome::Written)
        workflow_->stored();
    else
        workflow_->afterEvent();
    repaintPicture();
}
