#pragma once

// Helpers of the main-window tests: a private configuration folder, scripted
// file dialogs and dialogs that record instead of blocking, test images.

#include "../support/RecordingMessages.h"
#include "shell/MainForm.h"
#include "shell/PictureView.h"

#include <QDir>
#include <QImage>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QtTest>

#include <deque>
#include <vector>

// The grey value the test images hold at (x, y); neighbours differ, so a
// shifted or mis-scaled picture shows at once.
inline int testGrey(int x, int y)
{
    return (x * 7 + y * 13) & 255;
}

// Writes a Grayscale8 image with testGrey as BMP (or JPEG, lossy) and
// returns its path.
inline QString writeTestImage(const QString& path, int w, int h)
{
    QImage img(w, h, QImage::Format_Grayscale8);
    for (int y = 0; y < h; ++y) {
        uchar* row = img.scanLine(y);
        for (int x = 0; x < w; ++x)
            row[x] = uchar(testGrey(x, y));
    }
    if (!img.save(path))
        qFatal("cannot write %s", qPrintable(path));
    return path;
}

struct ChooserCall {
    QString dir;
    QString file;
    QStringList filters;
};

// Installs a scripted file chooser and recording dialog hooks for one test
// object's lifetime; the messages go to a recorder.
class MainFormFixture {
public:
    MainFormFixture()
    {
        qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
        MainForm::setFileChooser(
            [this](QWidget*, const QString& dir, const QString& file, const QStringList& filters) {
                calls.push_back({dir, file, filters});
                if (answers.empty())
                    return QString();
                QString a = answers.front();
                answers.pop_front();
                return a;
            });
        MainForm::Dialogs d;
        d.splashOnce = [this](MainForm&) { ++splashes; };
        d.patient = [this](MainForm&, int flag) { patientFlags.push_back(flag); };
        d.about = [](MainForm&) {};
        d.help = [](MainForm&) {};
        d.colors = [](MainForm&) {};
        d.calibration = [](MainForm&, double) { return 0.0f; };
        d.hardcopy = [](MainForm&) { return std::string(); };
        MainForm::setDialogs(d);
    }
    ~MainFormFixture()
    {
        MainForm::setFileChooser(nullptr);
        MainForm::setDialogs({});
    }

    QString file(const QString& name) const { return data.filePath(name); }
    QString settingsText() const
    {
        QFile f(config.filePath("Zor2.ini"));
        if (!f.open(QIODevice::ReadOnly))
            return QString();
        return QString::fromUtf8(f.readAll());
    }
    void clearSettings() const { QFile::remove(config.filePath("Zor2.ini")); }

    QTemporaryDir config;
    QTemporaryDir data;
    ScopedMessages messages;
    std::deque<QString> answers;
    std::vector<ChooserCall> calls;
    std::vector<int> patientFlags;
    int splashes = 0;
};

// The RGB of a backing-image pixel (XOR may leave the unused alpha byte off).
inline QRgb rgbAt(const PictureView& view, int x, int y)
{
    return view.backing().pixel(x, y) & 0xFFFFFF;
}
