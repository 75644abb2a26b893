#include "shell/DataDialog.h"

#include <QEvent>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>

namespace {

struct BoxSpec {
    DataField field;
    const char* label;
    const char* name;
};

// Top to bottom, as the user reads them.
constexpr BoxSpec boxSpecs[] = {
    {DataField::Datum, "X-Ray Date (yyyymmdd)", "E_Datum"},
    {DataField::Famname, "Name", "E_Famname"},
    {DataField::Vorname, "First Name", "E_Vorname"},
    {DataField::Code, "Study - ID", "E_Code"},
    {DataField::Head, "Head Diameter", "E_Head"},
    {DataField::DatFile, "Data File", "E_DatFile"},
};

QColor fromBgr(uint32_t bgr)
{
    return QColor(int(bgr & 0xFF), int((bgr >> 8) & 0xFF), int((bgr >> 16) & 0xFF));
}

} // namespace

DataDialog::DataDialog(CZor& zor, int redFlag, QWidget* owner)
    : QDialog(owner), rules_(zor, redFlag)
{
    setWindowTitle("Patient's Data");
    setModal(true);
    auto* form = new QFormLayout(this);
    form->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
    for (const BoxSpec& spec : boxSpecs) {
        auto* box = new QLineEdit(this);
        box->setObjectName(spec.name);
        box->setMinimumWidth(240);
        box->setText(QString::fromStdString(rules_.text(spec.field)));
        if (rules_.highlighted(spec.field)) {
            QPalette palette = box->palette();
            palette.setColor(QPalette::Base, fromBgr(DataDialogRules::highlightColor));
            box->setPalette(palette);
            box->setAutoFillBackground(true);
        }
        auto* label = new QLabel(spec.label, this);
        label->setBuddy(box);
        form->addRow(label, box);
        boxes_[static_cast<size_t>(spec.field)] = box;
    }
    takeFocusTarget();
}

void DataDialog::takeFocusTarget()
{
    if (auto field = rules_.takeFocusTarget())
        focusTarget_ = box(*field);
    else
        focusTarget_ = nullptr;
}

void DataDialog::changeEvent(QEvent* event)
{
    QDialog::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow() && focusTarget_) {
        focusTarget_->setFocus(Qt::ActiveWindowFocusReason);
        focusTarget_ = nullptr;
    }
}

void DataDialog::done(int result)
{
    for (const BoxSpec& spec : boxSpecs)
        rules_.setText(spec.field, box(spec.field)->text().toStdString());
    if (!rules_.close()) {
        E_Datum()->setText(QString::fromStdString(rules_.text(DataField::Datum)));
        takeFocusTarget();
        if (focusTarget_ && isActiveWindow()) {
            focusTarget_->setFocus(Qt::OtherFocusReason);
            focusTarget_ = nullptr;
        }
        return;
    }
    QDialog::done(result);
}
