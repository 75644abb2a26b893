#include "shell/StartupForm.h"

#include "shell/HelpPicture.h"

#include <QFont>
#include <QHBoxLayout>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>

namespace {
bool shownOnce = false;
} // namespace

StartupForm::StartupForm(QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::FramelessWindowHint), Image1_(new QLabel(this)),
      Command1_(new QPushButton("OK", this)), Timer1_(new QTimer(this))
{
    setObjectName("StartupForm");
    setWindowTitle("OLTA-ZOR");
    setModal(true);
    // Frameless, so draw a border of our own.
    setStyleSheet("#StartupForm { border: 2px solid #404040; }");

    Image1_->setObjectName("Image1");
    Image1_->setPixmap(QPixmap::fromImage(HelpPicture::drawLogo(160)));

    auto* product = new QLabel("OLTA-ZOR", this);
    product->setObjectName("productName");
    QFont big = product->font();
    big.setPointSize(big.pointSize() * 2);
    big.setBold(true);
    product->setFont(big);
    auto* version = new QLabel("Release 2003 / SP2", this);
    version->setObjectName("versionText");

    Command1_->setObjectName("Command1");
    Command1_->setDefault(true);
    connect(Command1_, &QPushButton::clicked, this, &QDialog::accept);

    Timer1_->setObjectName("Timer1");
    Timer1_->setSingleShot(true);
    // A coarse timer may fire up to 5 % early.
    Timer1_->setTimerType(Qt::PreciseTimer);
    Timer1_->setInterval(closeDelayMs);
    connect(Timer1_, &QTimer::timeout, this, &QDialog::close);

    auto* texts = new QVBoxLayout;
    texts->addStretch();
    texts->addWidget(product);
    texts->addWidget(version);
    texts->addStretch();
    texts->addWidget(Command1_, 0, Qt::AlignRight);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(18, 18, 18, 18);
    layout->setSpacing(24);
    layout->addWidget(Image1_);
    layout->addLayout(texts);
}

bool StartupForm::showSplashOnce(QWidget* owner)
{
    if (shownOnce)
        return false;
    shownOnce = true;
    showAbout(owner);
    return true;
}

void StartupForm::showAbout(QWidget* owner)
{
    StartupForm form(owner);
    form.exec();
}

bool StartupForm::splashShown()
{
    return shownOnce;
}

void StartupForm::setSplashShown(bool shown)
{
    shownOnce = shown;
}

void StartupForm::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    // Centred on the screen, not over the owner: at start-up the owner is
    // not on the screen yet.
    if (QScreen* s = screen())
        move(s->availableGeometry().center() - rect().center());
    Timer1_->start();
}

void StartupForm::hideEvent(QHideEvent* event)
{
    // A form closed by "OK" must not be closed again by a late timer.
    Timer1_->stop();
    QDialog::hideEvent(event);
}
