#pragma once

#include <QDialog>

#include <functional>

class CBitmap;
class QPushButton;
class QScrollBar;

// "Adjust Colors": brightness and contrast of the open image through its
// grey lookup table. The "&adjust Colors ..." item does
//     ColorDialog dialog(Bitmap, [this] { repaintPicture(); }, this);
//     dialog.exec();
// Every change of a bar (also while it is dragged) rebuilds the table
// (CBitmap::CreateColors) and calls `repaint`, so the picture follows live.
// "Close" keeps the values; there is no cancel.
class ColorDialog : public QDialog {
    Q_OBJECT
public:
    ColorDialog(CBitmap& bitmap, std::function<void()> repaint, QWidget* owner = nullptr);

    QScrollBar* sb_brightness() const { return sb_brightness_; }
    QScrollBar* sb_contrast() const { return sb_contrast_; }
    QPushButton* b_Reset() const { return b_Reset_; }
    QPushButton* b_Close() const { return b_Close_; }

private:
    void brightnessChanged(int value);
    void contrastChanged(int value);
    void resetClicked();

    CBitmap& bitmap_;
    std::function<void()> repaint_;
    QScrollBar* sb_brightness_;
    QScrollBar* sb_contrast_;
    QPushButton* b_Reset_;
    QPushButton* b_Close_;
};
