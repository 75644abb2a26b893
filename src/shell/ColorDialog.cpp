#include "shell/ColorDialog.h"

#include "image/CBitmap.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>

#include <utility>

namespace {

QScrollBar* makeBar(const char* name, QWidget* parent)
{
    auto* bar = new QScrollBar(Qt::Horizontal, parent);
    bar->setObjectName(name);
    bar->setRange(0, 512);
    bar->setSingleStep(1);
    bar->setPageStep(10);
    bar->setMinimumWidth(280);
    // Both start at 0, so that setting them from the buffer counts as a
    // change and repaints once, as the dialog always has.
    bar->setValue(0);
    return bar;
}

} // namespace

ColorDialog::ColorDialog(CBitmap& bitmap, std::function<void()> repaint, QWidget* owner)
    : QDialog(owner), bitmap_(bitmap), repaint_(std::move(repaint)),
      sb_brightness_(makeBar("sb_brightness", this)), sb_contrast_(makeBar("sb_contrast", this)),
      b_Reset_(new QPushButton("Reset", this)), b_Close_(new QPushButton("Close", this))
{
    setWindowTitle("Adjust Colors");
    setModal(true);
    b_Reset_->setObjectName("b_Reset");
    b_Close_->setObjectName("b_Close");
    b_Close_->setDefault(true);

    auto* grid = new QGridLayout;
    auto* label1 = new QLabel("Brightness", this);
    label1->setObjectName("Label1");
    auto* label2 = new QLabel("Contrast", this);
    label2->setObjectName("Label2");
    grid->addWidget(label1, 0, 0);
    grid->addWidget(sb_brightness_, 0, 1);
    grid->addWidget(label2, 1, 0);
    grid->addWidget(sb_contrast_, 1, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(b_Reset_);
    buttons->addWidget(b_Close_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(buttons);

    // valueChanged also fires while a bar is dragged: the picture follows.
    connect(sb_brightness_, &QScrollBar::valueChanged, this, &ColorDialog::brightnessChanged);
    connect(sb_contrast_, &QScrollBar::valueChanged, this, &ColorDialog::contrastChanged);
    connect(b_Reset_, &QPushButton::clicked, this, &ColorDialog::resetClicked);
    connect(b_Close_, &QPushButton::clicked, this, &QDialog::close);

    sb_brightness_->setValue(bitmap_.ColorOffset + 256);
    sb_contrast_->setValue(bitmap_.ColorScale);
}

void ColorDialog::brightnessChanged(int value)
{
    bitmap_.ColorOffset = static_cast<int16_t>(value - 256);
    bitmap_.CreateColors();
    if (repaint_)
        repaint_();
}

void ColorDialog::contrastChanged(int value)
{
    bitmap_.ColorScale = static_cast<int16_t>(value);
    bitmap_.CreateColors();
    if (repaint_)
        repaint_();
}

void ColorDialog::resetClicked()
{
    bitmap_.Reset();
    sb_brightness_->setValue(bitmap_.ColorOffset + 256);
    sb_contrast_->setValue(bitmap_.ColorScale);
    if (repaint_)
        repaint_();
}
