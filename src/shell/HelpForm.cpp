#include "shell/HelpForm.h"

#include "shell/HelpPicture.h"

#include <QEvent>
#include <QLabel>
#include <QPixmap>
#include <QPointer>
#include <QScreen>
#include <QVBoxLayout>

namespace {
QPointer<HelpForm> openForm;
} // namespace

HelpForm::HelpForm(QWidget* owner) : QWidget(owner, Qt::Window), Image1_(new QLabel(this))
{
    setObjectName("HelpForm");
    setWindowTitle("Help");
    setAttribute(Qt::WA_DeleteOnClose);
    Image1_->setObjectName("Image1");
    Image1_->setPixmap(QPixmap::fromImage(HelpPicture::drawHelpPicture()));
    Image1_->setCursor(Qt::PointingHandCursor);
    Image1_->installEventFilter(this);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(Image1_);
    adjustSize();
    if (QScreen* s = screen())
        move(s->availableGeometry().center() - rect().center());
}

HelpForm* HelpForm::showHelp(QWidget* owner)
{
    if (!openForm)
        openForm = new HelpForm(owner);
    openForm->show();
    openForm->raise();
    openForm->activateWindow();
    return openForm;
}

HelpForm* HelpForm::instance()
{
    return openForm;
}

bool HelpForm::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == Image1_ && event->type() == QEvent::MouseButtonRelease) {
        close();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}
