#pragma once

#include <QWidget>

class QLabel;

// The modeless help window: one annotated example radiograph with the
// reference lines labelled. There is at most one; the "Help" item (F1) of a
// main window calls HelpForm::showHelp(this), which shows the existing window
// again or makes a new one, and returns at once. Clicking the picture closes
// the window (it is deleted on close).
class HelpForm : public QWidget {
    Q_OBJECT
public:
    explicit HelpForm(QWidget* owner = nullptr);

    // Shows (raising, if it is open already) the one help window, owned by
    // `owner`; the window lives until it is closed or its owner goes.
    static HelpForm* showHelp(QWidget* owner);
    // The open help window, or nullptr.
    static HelpForm* instance();

    QLabel* Image1() const { return Image1_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLabel* Image1_;
};
