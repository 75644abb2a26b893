#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

// Asks for the true distance in mm between the two calibration points.
// "OK" (the default button) accepts a number written with a period or a
// comma and keeps the dialog open for any other text; "Cancel", Escape and
// the window frame close it with a distance of 0.
class CalibDialog : public QDialog {
    Q_OBJECT

public:
    // `offered` > 0 is put into the text box as the previous distance.
    explicit CalibDialog(QWidget* parent = nullptr, double offered = 0.0);

    // The distance entered; 0 unless the dialog was closed with "OK".
    float Dist() const { return Dist_; }

    QString distanceText() const;
    void setDistanceText(const QString& text);

    // "OK": takes the text as the distance and closes; a text that is no
    // number leaves the dialog open and `Dist` unchanged.
    void accept() override;
    // "Cancel", Escape and the frame: the distance is 0.
    void reject() override;

    // Shows the dialog modally over `owner` and returns the distance entered,
    // 0 for "Cancel". This is what the window calls; tests drive an instance.
    static float askDistance(QWidget* owner, double offered);

private:
    QLabel* Label1_;
    QLineEdit* e_Distance_;
    QPushButton* OKButton_;
    QPushButton* CancelButton_;
    float Dist_ = 0.0F;
};
