#pragma once

#include <QString>

class QWidget;

// `zor --screenshot OUT`: once the window has been painted, saves its
// picture to OUT, prints what it saved, and ends the program (status 0, or 1
// when the file cannot be written).
void saveScreenshotAndQuit(QWidget* window, const QString& out);
