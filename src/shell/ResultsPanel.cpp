#include "shell/ResultsPanel.h"

#include "analysis/Calc.h"
#include "analysis/MeasurementSteps.h"
#include "analysis/ResultRows.h"
#include "casefile/DataDialogRules.h"
#include "model/CZor.h"

#include <QFontDatabase>
#include <QLabel>
#include <QScrollArea>
#include <QVBoxLayout>

ResultsPanel::ResultsPanel(QWidget* parent) : QWidget(parent)
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    auto* scroll = new QScrollArea(this);
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    label_ = new QLabel(scroll);
    label_->setObjectName("results");
    label_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    label_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    label_->setTextFormat(Qt::PlainText);
    scroll->setWidget(label_);
    layout->addWidget(scroll);
    clearCase();
}

void ResultsPanel::clearCase()
{
    label_->setText("no film open");
}

QString ResultsPanel::text() const
{
    return label_->text();
}

void ResultsPanel::showCase(const CZor& zor)
{
    QStringList lines;
    lines << "scale: " + QString::fromStdString(zor.scaleText());
    if (zor.Patient.HeadTR > 0.0)
        lines << QString("head diameter (mm): %1").arg(2.0 * zor.Patient.HeadTR);
    const Calc::Outcome outcome = Calc::Analyse(zor);
    if (const auto* done = std::get_if<Calc::Analysis>(&outcome)) {
        for (const ResultRows::Row& row : ResultRows::of(done->result)) {
            QStringList values;
            for (const std::string& v : row.values)
                values << QString::fromStdString(v);
            lines << QString::fromStdString(row.label) + ": " + values.join("  ");
        }
    } else if (const auto* refusal = std::get_if<Calc::Refusal>(&outcome)) {
        lines << "" << QString::fromStdString(refusal->what)
              << QString::fromStdString(refusal->how);
    } else {
        lines << ""
              << "Head Diameter missing"
              << "enter it in the Patient's Data";
    }
    lines << ""
          << "measurement steps:";
    const auto steps = MeasurementSteps::of(zor);
    const int next = MeasurementSteps::next(steps);
    for (int i = 0; i < int(steps.size()); ++i) {
        const auto& s = steps[size_t(i)];
        const QString mark = s.done ? "[x]" : (i == next ? "-->" : "[ ]");
        lines << mark + " " + QString::fromStdString(s.name) + (s.optional ? " (optional)" : "");
    }
    label_->setText(lines.join('\n'));
}
