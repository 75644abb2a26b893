#include "shell/MainForm.h"

#include "interaction/ToolController.h"
#include "model/CZor.h"
#include "platform/UserMessages.h"
#include "shell/CalibDialog.h"
#include "shell/CaseWorkflow.h"
#include "shell/ColorDialog.h"
#include "shell/DataDialog.h"
#include "shell/HardCopy.h"
#include "shell/HelpForm.h"
#include "shell/PictureView.h"
#include "shell/StartupForm.h"

#include <QApplication>
#include <QCloseEvent>
#include <QEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPixmap>
#include <QScrollBar>

namespace {

// A magnifying glass with a plus sign; the hot spot is its top-left corner.
QCursor makeZoomCursor()
{
    QPixmap pm(32, 32);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    for (int pass = 0; pass < 2; ++pass) {
        // A white halo first, so that the glass shows on dark films.
        p.setPen(QPen(pass == 0 ? Qt::white : Qt::black, pass == 0 ? 4.5 : 2));
        p.drawEllipse(QRectF(2, 2, 18, 18));
        p.drawLine(QPointF(18, 18), QPointF(29, 29));
        p.drawLine(QPointF(7, 11), QPointF(15, 11));
        p.drawLine(QPointF(11, 7), QPointF(11, 15));
    }
    return QCursor(pm, 0, 0);
}

} // namespace

MainForm::MainForm() : MainForm(Services{}) {}

MainForm::MainForm(Services services, QWidget* parent)
    : QMainWindow(parent), services_(std::move(services))
{
    buildControls();
    // The window's messages go through the application's hook, which main()
    // points at message boxes (or stderr) and tests at a recorder.
    case_ = std::make_unique<OpenCase>(*this, *PicBox_, userMessages());
    workflow_ = new CaseWorkflow(*this);
    buildMenus();
    zoomCursor_ = makeZoomCursor();
    resize(1000, 760);
}

// The case goes first: its tools refer to the picture area.
MainForm::~MainForm() = default;

void MainForm::buildControls()
{
    central_ = new QWidget(this);
    setCentralWidget(central_);
    central_->installEventFilter(this);

    PicBox_ = new PictureView(central_);
    PicBox_->setObjectName("PicBox");
    PicBox_->setOverlay([this] {
        if (CZor* z = zor())
            z->draw(*PicBox_, drawColor1, drawColor2);
    });
    connect(PicBox_, &PictureView::resized, this, &MainForm::pictureResized);
    connect(PicBox_, &PictureView::mousePressed, this, &MainForm::pictureMouseDown);
    connect(PicBox_, &PictureView::mouseMoved, this, &MainForm::pictureMouseMove);
    connect(PicBox_, &PictureView::mouseReleased, this, &MainForm::pictureMouseUp);

    HScroll_ = new QScrollBar(Qt::Horizontal, central_);
    HScroll_->setObjectName("HScroll");
    VScroll_ = new QScrollBar(Qt::Vertical, central_);
    VScroll_->setObjectName("VScroll");
    for (QScrollBar* bar : {HScroll_, VScroll_}) {
        bar->setRange(0, 0);
        bar->setSingleStep(10);
        connect(bar, &QScrollBar::valueChanged, this, &MainForm::scrolled);
    }

    StatusBar_ = new QLabel(central_);
    StatusBar_->setObjectName("StatusBar");
    StatusBar_->setFixedHeight(StatusBar_->fontMetrics().height() + 6);
    StatusBar_->setIndent(4);
    ScaleStatus_ = new QLabel(central_);
    ScaleStatus_->setObjectName("ScaleStatus");
    ScaleStatus_->setFixedHeight(StatusBar_->height());
    ScaleStatus_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    ScaleStatus_->setIndent(4);

    // Over the bottom-left corner of the picture; a display only.
    e_Position_ = new QLineEdit(central_);
    e_Position_->setObjectName("e_Position");
    e_Position_->setReadOnly(true);
    e_Position_->setFocusPolicy(Qt::NoFocus);
    e_Position_->setFixedWidth(e_Position_->fontMetrics().horizontalAdvance("00000.0 00000.0") +
                               12);
    e_Position_->raise();
}

bool MainForm::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == central_ && event->type() == QEvent::Resize)
        layoutControls();
    return QMainWindow::eventFilter(watched, event);
}

void MainForm::layoutControls()
{
    const int innerW = central_->width();
    const int innerH = central_->height();
    if (innerW == 0 || isMinimized())
        return;
    const int hsH = HScroll_->sizeHint().height();
    const int vsW = VScroll_->sizeHint().width();
    const int h1 = innerH - StatusBar_->height();
    const int picW = std::max(innerW - vsW, 1);
    const int picH = std::max(h1 - hsH, 1);
    PicBox_->setGeometry(0, 0, picW, picH);
    HScroll_->setGeometry(0, h1 - hsH, picW, hsH);
    VScroll_->setGeometry(innerW - vsW, 0, vsW, std::max(h1 - hsH, 1));
    const int scaleW = ScaleStatus_->text().isEmpty() ? 0 : ScaleStatus_->sizeHint().width() + 8;
    StatusBar_->setGeometry(0, h1, std::max(innerW - scaleW, 1), StatusBar_->height());
    ScaleStatus_->setGeometry(innerW - scaleW, h1, scaleW, StatusBar_->height());
    const int eh = e_Position_->sizeHint().height();
    e_Position_->setGeometry(0, HScroll_->y() - eh, e_Position_->minimumWidth(), eh);
    // A hidden window gets the picture's resize event only when it is shown;
    // measure the area now so that the view is right at once.
    pictureResized();
}

// The area's new size: the region grows or shrinks with it, keeping
// ScaleLeft, ScaleTop and the magnification.
void MainForm::pictureResized()
{
    viewport_.resize(PicBox_->width(), PicBox_->height());
    showViewport();
    // A hidden window's picture gets its resize event (and its backing
    // image) only when it is shown; that event comes back here.
    if (PicBox_->backing().size() == PicBox_->size())
        repaintPicture();
}

void MainForm::repaintPicture()
{
    showScale();
    PicBox_->render();
}

// Every open, read and calibration ends in a repaint: the scale shown is
// always the model's.
void MainForm::showScale()
{
    const QString text = zor() ? QString::fromStdString(zor()->scaleText()) : QString();
    if (text == ScaleStatus_->text())
        return;
    ScaleStatus_->setText(text);
    layoutControls();
}

// --- ToolHost ---

void MainForm::setStatusText(const std::string& text)
{
    StatusBar_->setText(QString::fromStdString(text));
}

void MainForm::setPointerShape(PointerShape shape)
{
    switch (shape) {
    case PointerShape::Default:
        PicBox_->unsetCursor();
        return;
    case PointerShape::Crosshair:
        PicBox_->setCursor(Qt::CrossCursor);
        return;
    case PointerShape::SizeAll:
        PicBox_->setCursor(Qt::SizeAllCursor);
        return;
    case PointerShape::SizeNS:
        PicBox_->setCursor(Qt::SizeVerCursor);
        return;
    case PointerShape::SizeNWSE:
        PicBox_->setCursor(Qt::SizeFDiagCursor);
        return;
    case PointerShape::ZoomGlass:
        PicBox_->setCursor(zoomCursor_);
        return;
    }
}

float MainForm::askCalibrationDistance(double offered)
{
    if (services_.dialogs.calibration)
        return services_.dialogs.calibration(*this, offered);
    return CalibDialog::askDistance(this, offered);
}

// --- Pointer and keys, in image coordinates ---

void MainForm::pictureMouseDown(int button, float x, float y)
{
    if (!tools())
        return;
    tools()->MouseDown(button, x, y);
    updateToolItems();
}

void MainForm::pictureMouseMove(int buttons, float x, float y)
{
    if (!tools())
        return;
    e_Position_->setText(QString::fromStdString(tools()->positionText(x, y)));
    tools()->MouseMove(buttons, x, y);
    updateToolItems();
}

void MainForm::pictureMouseUp(int button, float x, float y)
{
    if (!tools())
        return;
    tools()->MouseUp(button, x, y);
    updateToolItems();
}

void MainForm::keyPressEvent(QKeyEvent* event)
{
    if (tools() && event->key() == Qt::Key_Escape) {
        tools()->KeyDown(ToolController::EscapeKey);
        updateToolItems();
        event->accept();
        return;
    }
    QMainWindow::keyPressEvent(event);
}

// --- Start-up ---

MainForm* MainForm::startNewWindow(const QString& image)
{
    return startNewWindow(image, Services{});
}

MainForm* MainForm::startNewWindow(const QString& image, Services services)
{
    auto* w = new MainForm(std::move(services));
    w->setAttribute(Qt::WA_DeleteOnClose);
    if (!w->startUp(image)) {
        delete w; // never shown
        return nullptr;
    }
    w->show();
    return w;
}

bool MainForm::startUp(const QString& image)
{
    if (services_.dialogs.splashOnce)
        services_.dialogs.splashOnce(*this);
    else
        StartupForm::showSplashOnce(this);
    viewport_.setCenterMode(true);
    action("m_ZoomCenter")->setChecked(true);
    return image.isEmpty() ? OpenImage() : OpenImage(image);
}

void MainForm::open_Patient(int flag)
{
    if (!zor())
        return;
    if (services_.dialogs.patient) {
        services_.dialogs.patient(*this, flag);
    } else {
        DataDialog dialog(*zor(), flag, this, imagePath());
        dialog.exec();
    }
    workflow_->nameNextEdit("Patient's Data");
    workflow_->afterEvent();
}

void MainForm::closeEvent(QCloseEvent* event)
{
    if (!workflow_->maySetCaseAside()) {
        event->ignore();
        return;
    }
    QMainWindow::closeEvent(event);
}

void MainForm::m_about_Click()
{
    if (services_.dialogs.about)
        services_.dialogs.about(*this);
    else
        StartupForm::showAbout(this);
}

void MainForm::m_help_Click()
{
    if (services_.dialogs.help)
        services_.dialogs.help(*this);
    else
        HelpForm::showHelp(this);
}

void MainForm::m_Adjust_Click()
{
    if (!zor())
        return;
    if (services_.dialogs.colors) {
        services_.dialogs.colors(*this);
        return;
    }
    ColorDialog dialog(
        Bitmap(), [this] { repaintPicture(); }, this);
    dialog.exec();
}

void MainForm::m_hardcopy_Click()
{
    const std::string error = services_.dialogs.hardcopy ? services_.dialogs.hardcopy(*this)
                                                         : HardCopy::PrintHardcopy(this);
    if (!error.empty())
        userMessages().showMessage("Error", error, MessageIcon::Critical);
}
