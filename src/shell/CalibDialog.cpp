#include "shell/CalibDialog.h"

#include "interaction/DistanceText.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

CalibDialog::CalibDialog(QWidget* parent, double offered)
    : QDialog(parent),
      Label1_(new QLabel(QStringLiteral("Enter distance between the two points in mm"), this)),
      e_Distance_(new QLineEdit(this)), OKButton_(new QPushButton(QStringLiteral("OK"), this)),
      CancelButton_(new QPushButton(QStringLiteral("Cancel"), this))
{
    setWindowTitle(QStringLiteral("Dialog Caption"));
    setObjectName(QStringLiteral("CalibDialog"));
    Label1_->setObjectName(QStringLiteral("Label1"));
    e_Distance_->setObjectName(QStringLiteral("e_Distance"));
    OKButton_->setObjectName(QStringLiteral("OKButton"));
    CancelButton_->setObjectName(QStringLiteral("CancelButton"));

    OKButton_->setDefault(true);
    OKButton_->setAutoDefault(true);
    CancelButton_->setAutoDefault(false);
    connect(OKButton_, &QPushButton::clicked, this, &CalibDialog::accept);
    connect(CancelButton_, &QPushButton::clicked, this, &CalibDialog::reject);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(OKButton_);
    buttons->addWidget(CancelButton_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Label1_);
    layout->addWidget(e_Distance_);
    layout->addLayout(buttons);

    if (offered > 0)
        e_Distance_->setText(QString::fromStdString(DistanceText::format(offered)));
    e_Distance_->selectAll();
    e_Distance_->setFocus();
}

QString CalibDialog::distanceText() const
{
    return e_Distance_->text();
}

void CalibDialog::setDistanceText(const QString& text)
{
    e_Distance_->setText(text);
}

void CalibDialog::accept()
{
    auto value = DistanceText::parse(e_Distance_->text().toStdString());
    if (!value) {
        // Stay open so the user can correct the text; "Cancel" is the way out.
        e_Distance_->selectAll();
        e_Distance_->setFocus();
        return;
    }
    Dist_ = *value;
    QDialog::accept();
}

void CalibDialog::reject()
{
    Dist_ = 0.0F;
    QDialog::reject();
}

float CalibDialog::askDistance(QWidget* owner, double offered)
{
    CalibDialog dialog(owner, offered);
    dialog.exec();
    return dialog.Dist();
}
