#pragma once

#include <QDialog>

class QLabel;
class QPushButton;
class QTimer;

// The splash window: logo, "OLTA-ZOR", "Release 2003 / SP2" and "OK". It
// closes itself on "OK" or 5 s after it was shown. The main window decides
// when it appears:
//   - the first main window's start-up calls StartupForm::showSplashOnce(this)
//     before it asks for an image (windows made later get no splash);
//   - the "About" item calls StartupForm::showAbout(this) every time.
// Both block until the window has closed. Tests construct the form, show()
// it and press Command1 or fire Timer1 instead of calling these.
class StartupForm : public QDialog {
    Q_OBJECT
public:
    static constexpr int closeDelayMs = 5000;

    explicit StartupForm(QWidget* owner = nullptr);

    // Shows the splash modally the first time it is called in this process;
    // returns whether it showed it.
    static bool showSplashOnce(QWidget* owner);
    // Shows the splash modally, whether or not it was shown before.
    static void showAbout(QWidget* owner);

    // The once-per-process flag; `zor --no-splash` sets it before the first
    // window starts.
    static bool splashShown();
    static void setSplashShown(bool shown);

    QLabel* logo() const { return Image1_; }
    QPushButton* Command1() const { return Command1_; }
    QTimer* Timer1() const { return Timer1_; }

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    QLabel* Image1_;
    QPushButton* Command1_;
    QTimer* Timer1_;
};
