#include "analysis/WriteDataCommand.h"
#include "casefile/BinFile.h"
#include "casefile/DefaultPatient.h"
#include "model/CZor.h"
#include "platform/UserMessages.h"
#include "shell/MainForm.h"

// The case files: the landmark file and "&Write Data".

namespace {

const Clock*& clockHook()
{
    static const Clock* clock = nullptr;
    return clock;
}

} // namespace

void MainForm::setClock(const Clock* clock)
{
    clockHook() = clock;
}

QString MainForm::landmarkFileFor(const QString& imagePath)
{
    const auto path = BinFile::LandmarkPath(imagePath.toStdString());
    return path ? QString::fromStdString(*path) : QString();
}

bool MainForm::readLandmarks(CZor& into)
{
    return BinFile::ReadLandmarkFile(landmarkFile_.toStdString(), Bitmap_.W(), Bitmap_.H(), into);
}

void MainForm::defaultPatientFromCase()
{
    DefaultPatient().copy(zor_->Patient);
}

void MainForm::m_Write_dat_Click()
{
    if (!zor_)
        return;
    static const SystemClock systemClock;
    const Clock& clock = clockHook() ? *clockHook() : systemClock;
    WriteDataCommand::run(*zor_, imagePath_.toStdString(), userMessages(), clock, *this);
    repaintPicture();
}
