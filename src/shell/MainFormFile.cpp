#include "image/Global.h"
#include "imageio/RadiographFile.h"
#include "interaction/ToolController.h"
#include "model/CZor.h"
#include "platform/UserMessages.h"
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
constexpr FilterPair imageFilterPairs[] = {
    {"supported-Files", "*.bmp;*.jpg;*.gif"},
    {"Bitmap-Files", "*.bmp"},
    {"jpeg-Files", "*.jpg"},
    {"gif-Files", "*.gif"},
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

MainForm::FileChooser& fileChooser()
{
    static MainForm::FileChooser chooser;
    return chooser;
}

} // namespace

void MainForm::setFileChooser(FileChooser chooser)
{
    fileChooser() = std::move(chooser);
}

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
    const FileChooser& chooser = fileChooser();
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
        auto model = std::make_unique<CZor>();
        model->Visible = true;

        // The tools' items keep their states from case to case.
        const ToolSet usable = tools_ ? tools_->usableTools() : ToolSet::initial();
        tools_.reset();
        zor_ = std::move(model);
        Bitmap_ = std::move(decoded);
        attachImage();
        tools_ = std::make_unique<ToolController>(*zor_, *this, *PicBox_, usable);
        // The new tools start idle: no cursor of the old case's tool (the
        // zoom glass, a cross) may stay behind.
        setPointerShape(PointerShape::Default);
        setWindowTitle(path);
        imagePath_ = path;
        resetView();
        landmarkFile_ = bitFile;

        if (readLandmarks(*zor_)) {
            zor_->DatFlag = true;
            defaultPatientFromCase();
        } else {
            // A new case: nothing set yet, the film taken as 430 mm wide, and
            // the previous case's patient data carried over.
            tools_->m_ResetLandmarks();
            zor_->initScale(Bitmap_.W(), Bitmap_.H(), 430.0);
            zor_->head.Valid = false;
            zor_->head.removeAll();
        }
        StatusBar_->clear();
        updateToolItems();
        repaintPicture();
        return true;
    } catch (const std::exception& e) {
        loadFailed(QString::fromLocal8Bit(e.what()));
        return false;
    }
}

// The picture area reads the buffer's rows and table in place.
void MainForm::attachImage()
{
    PictureView::Image image;
    image.bits = Bitmap_.bits();
    image.bytesPerLine = Bitmap_.bytesPerLine();
    image.width = Bitmap_.W();
    image.height = Bitmap_.H();
    image.table = &Bitmap_.colorTable();
    PicBox_->setImage(image);
}

void MainForm::m_Open_Click()
{
    if (OpenImage())
        repaintPicture();
}

void MainForm::m_New_Click()
{
    startNewWindow();
}

void MainForm::m_Load_bin_Click()
{
    if (!zor_)
        return;
    // Read into a copy and taken only when the file was read to its end: a
    // damaged file must not half-overwrite the case being worked on.
    CZor fresh = *zor_;
    if (readLandmarks(fresh))
        *zor_ = std::move(fresh);
    repaintPicture();
}

void MainForm::m_Exit_Click()
{
    QString title = QApplication::applicationName();
    if (title.isEmpty())
        title = "zor";
    if (!userMessages().askYesNo(title.toStdString(),
                                 "Are you sure? Not saved results will be lost!"))
        return;
    QApplication::closeAllWindows();
}

// --- Image tools, each under the hourglass ---

void MainForm::imageCommand(const std::function<void()>& command)
{
    if (!zor_)
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
    imageCommand([this, strength] { Bitmap_.Filter(Global::GetSharpenKernel(strength)); });
}

void MainForm::m_undo_Click()
{
    imageCommand([this] { Bitmap_.UndoFilter(); });
}

void MainForm::m_Invert_Click()
{
    imageCommand([this] { Bitmap_.Invert(); });
}

void MainForm::m_ResetColors_Click()
{
    imageCommand([this] { Bitmap_.Reset(); });
}
