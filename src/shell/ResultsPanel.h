#pragma once

#include <QWidget>

class CZor;
class QLabel;

// The results dock's contents: the open case's parameters as "&Write Data"
// would write them (Calc::Analyse, nothing written, nothing shown modally),
// or the analysis's own message when it cannot run, and the checklist of
// the measurement steps with the next one marked. The window calls
// showCase after every change of the case.
class ResultsPanel : public QWidget {
    Q_OBJECT
public:
    explicit ResultsPanel(QWidget* parent = nullptr);

    void showCase(const CZor& zor);
    // Nothing open.
    void clearCase();

    // The shown text, one line per row ("medial: 1.5  2  ...").
    QString text() const;

private:
    QLabel* label_ = nullptr;
};
