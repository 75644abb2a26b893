#include "shell/DataDialog.h"

#include <QDialogButtonBox>
#include <QEvent>
#include <QFileInfo>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QPushButton>

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

// Values carried over from the previous case: pale yellow, 0x00BBGGRR.
constexpr uint32_t carriedColor = 0xC0FFFF;

} // namespace

DataDialog::DataDialog(CZor& zor, int redFlag, QWidget* owner, const QString& film)
    : QDialog(owner), rules_(zor, redFlag, film.toStdString())
{
    setWindowTitle("Patient's Data");
    setModal(true);
    auto* form = new QFormLayout(this);
    form->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
    carriedNote_ = new QLabel(this);
    carriedNote_->setObjectName("carriedNote");
    carriedNote_->setWordWrap(true);
    form->addRow(carriedNote_);
    bool anyCarried = false;
    for (const BoxRow& row : boxRows) {
        auto* box = new QLineEdit(this);
        box->setObjectName(row.name);
        box->setMinimumWidth(240);
        box->setText(QString::fromStdString(rules_.text(row.field)));
        boxes_[static_cast<size_t>(row.field)] = box;
        carried_[static_cast<size_t>(row.field)] = rules_.carried(row.field);
        anyCarried = anyCarried || rules_.carried(row.field);
        paintBox(row.field);
        // An edited value is the user's own.
        connect(box, &QLineEdit::textEdited, this, [this, field = row.field] {
            carried_[static_cast<size_t>(field)] = false;
            paintBox(field);
        });
        auto* label = new QLabel(row.label, this);
        label->setBuddy(box);
        form->addRow(label, box);
    }
    const QString source = QFileInfo(QString::fromStdString(rules_.carriedFrom())).fileName();
    carriedNote_->setText(source.isEmpty()
                              ? "The marked values are carried over from the previous case."
                              : "The marked values are carried over from " + source + ".");
    carriedNote_->setVisible(anyCarried);
    auto* buttons = new QDialogButtonBox(this);
    ok_ = buttons->addButton("OK", QDialogButtonBox::AcceptRole);
    ok_->setDefault(true);
    // Exactly as the close box: done() stores the boxes or keeps the dialog open.
    connect(ok_, &QPushButton::clicked, this, &QDialog::close);
    form->addRow(buttons);
    takeFocusTarget();
}

bool DataDialog::markedCarried(DataField field) const
{
    return carried_[static_cast<size_t>(field)];
}

void DataDialog::paintBox(DataField field)
{
    QLineEdit* b = box(field);
    QPalette palette = b->palette();
    const bool red = rules_.highlighted(field);
    const bool carried = markedCarried(field);
    if (red || carried)
        palette.setColor(QPalette::Base,
                         fromBgr(red ? DataDialogRules::highlightColor : carriedColor));
    else
        palette.setColor(QPalette::Base, QDialog::palette().color(QPalette::Base));
    b->setPalette(palette);
    b->setAutoFillBackground(red || carried);
    b->setToolTip(carried ? "carried over from the previous case" : QString());
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
