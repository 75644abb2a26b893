#include "shell/DataDialog.h"

#include <QEvent>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>

namespace {

struct BoxRow {
    DataField field;
    const char* label;
    const char* name;
};

// Top to bottom, as the user reads them.
constexpr BoxRow boxRows[] = {
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
    for (const BoxRow& row : boxRows) {
        auto* box = new QLineEdit(this);
        box->setObjectName(row.name);
        box->setMinimumWidth(240);
        box->setText(QString::fromStdString(rules_.text(row.field)));
        if (rules_.highlighted(row.field)) {
            QPalette palette = box->palette();
            palette.setColor(QPalette::Base, fromBgr(DataDialogRules::highlightColor));
            box->setPalette(palette);
            box->setAutoFillBackground(true);
        }
        auto* label = new QLabel(row.label, this);
        label->setBuddy(box);
        form->addRow(label, box);
        boxes_[static_cast<size_t>(row.field)] = box;
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
    for (const BoxRow& row : boxRows)
        rules_.setText(row.field, box(row.field)->text().toStdString());
    if (!rules_.close(userMessages())) {
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
