#include "image/Global.h"
#include "imageio/RadiographFile.h"
#include "interaction/ToolController.h"
#include "model/CZor.h"
#include "platform/UserMessages.h"
#include "shell/CaseWorkflow.h"
#include "shell/MainForm.h"
#include "shell/PictureView.h"
#include "shell/WaitCursor.h"
#include "shell/ZorSettings.h"

#include <QAction>
#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>

#include <exception>
#include <utility>

namespace {

struct FilterPair {
    const char* description;
    const char* pattern;
};

// The open dialog's filters; the first one is selected.
// A DICOM film often has no extension: "All files" shows it, and the loader
// tells it by its content.
constexpr FilterPair imageFilterPairs[] = {
    {"supported-Files", "*.bmp;*.jpg;*.jpeg;*.gif;*.dcm"},
    {"Bitmap-Files", "*.bmp"},
    {"jpeg-Files", "*.jpg;*.jpeg"},
    {"gif-Files", "*.gif"},
    {"DICOM-Files", "*.dcm"},
    {"All files", "*"},
};

QString chooseWithDialog(QWidget* owner, const QString& dir, const QString& file,
                         const QStringList& filters)
{
    QFileDialog dialog(owner, QString(), dir);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setNameFilters(filters);
    dialog.selectNameFilter(filters.value(0));
    if (!file.isEmpty())
        dialog.selectFile(file);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    return dialog.selectedFiles().constFirst();
}

} // namespace

QStringList MainForm::imageFilters()
{
    QStringList filters;
    for (const FilterPair& f : imageFilterPairs) {
        // Qt separates the patterns of one filter by blanks.
        QString patterns = QString(f.pattern).replace(';', ' ');
        filters << QString("%1 (%2)").arg(f.description, patterns);
    }
    return filters;
}

bool MainForm::OpenImage()
{
    const QString last = ZorSettings::readLastPath();
    const QFileInfo lastInfo(last);
    const QString dir = last.contains('/') ? lastInfo.absolutePath() : QString();
    const FileChooser& chooser = services_.chooser;
    const QString path = chooser ? chooser(this, dir, last, imageFilters())
                                 : chooseWithDialog(this, dir, last, imageFilters());
    if (path.isEmpty())
        return false;
    return OpenImage(path);
}

void MainForm::loadFailed(const QString& reason)
{
    userMessages().showMessage("Error", ("load Error: " + reason).toStdString(),
                               MessageIcon::Critical);
}

bool MainForm::OpenImage(const QString& path)
{
    // The case open now is set aside only with the user's word.
    if (zor() && !workflow_->maySetCaseAside())
        return false;
    try {
        // Remembered before the image is decoded, so that a file that then
        // fails to load is still offered next time.
        ZorSettings::writeLastPath(path);
        const QString bitFile = landmarkFileFor(path);
        if (bitFile.isEmpty()) {
            loadFailed("the file name has no extension, so it names no landmark file: " + path);
            return false;
        }
        // Everything new is built aside; the previous case stays whole until
        // the image has been decoded.
        CBitmap decoded;
        RadiographInfo info;
        std::string error;
        if (!RadiographFile::load(path.toStdString(), decoded, info, error)) {
            loadFailed(QString::fromStdString(error));
            return false;
        }
        const std::string scaleNote = info.scaleNote;
        case_->replace(path.toStdString(), bitFile.toStdString(), std::move(decoded),
                       std::move(info));
        attachImage();
        // The new tools start idle: no cursor of the old case's tool (the
        // zoom glass, a cross) may stay behind.
        setPointerShape(PointerShape::Default);
        setWindowTitle(path);
        resetView();
        const bool read = case_->readOrStartNew();
        StatusBar_->clear();
        workflow_->opened();
        updateToolItems();
        repaintPicture();
        // The landmark file's scale rules; else say why the film's is not used.
        if (!read && !scaleNote.empty())
            userMessages().showMessage("Zor",
                                       "The scale of " + path.toStdString() + ": " + scaleNote,
                                       MessageIcon::Information);
        return true;
    } catch (const std::exception& e) {
        loadFailed(QString::fromLocal8Bit(e.what()));
        return false;
    }
}

// The picture area reads the buffer's rows and table in place.
void MainForm::attachImage()
{
    const CBitmap& b = case_->bitmap();
    PictureView::Image image;
    image.bits = b.bits();
    image.bytesPerLine = b.bytesPerLine();
    image.width = b.W();
    image.height = b.H();
    image.table = &b.colorTable();
    PicBox_->setImage(image);
}

void MainForm::m_Open_Click()
{
    if (OpenImage())
        repaintPicture();
}

void MainForm::m_New_Click()
{
    startNewWindow(QString(), services_);
}

void MainForm::m_Load_bin_Click()
{
    if (!zor())
        return;
    if (!workflow_->maySetCaseAside())
        return;
    if (case_->reloadLandmarks()) {
        workflow_->nameNextEdit("Reload Landmarks");
        workflow_->stored();
    }
    repaintPicture();
}

void MainForm::m_Exit_Click()
{
    QString title = QApplication::applicationName();
    if (title.isEmpty())
        title = "zor";
    // With changes, each window asks about its own case as it closes.
    if (!CaseWorkflow::anyChanged() &&
        !userMessages().askYesNo(title.toStdString(),
                                 "Are you sure? Not saved results will be lost!"))
        return;
    QApplication::closeAllWindows();
}

// --- Image tools, each under the hourglass ---

void MainForm::imageCommand(const std::function<void()>& command)
{
    if (!zor())
        return;
    try {
        WaitCursor hourglass(PicBox_);
        command();
        attachImage(); // a filter may have moved the pixels
        repaintPicture();
    } catch (const std::exception& e) {
        userMessages().showMessage("Error", e.what(), MessageIcon::Critical);
    }
}

void MainForm::ApplySharpen(int16_t strength)
{
    imageCommand([this, strength] { Bitmap().Filter(Global::GetSharpenKernel(strength)); });
}

void MainForm::m_undo_Click()
{
    imageCommand([this] { Bitmap().UndoFilter(); });
}

void MainForm::m_Invert_Click()
{
    imageCommand([this] { Bitmap().Invert(); });
}

void MainForm::m_ResetColors_Click()
{
    imageCommand([this] { Bitmap().Reset(); });
}
