#include "../support/RecordingMessages.h"
#include "casefile/DefaultPatient.h"
#include "image/CBitmap.h"
#include "model/CZor.h"
#include "shell/CalibDialog.h"
#include "shell/ColorDialog.h"
#include "shell/DataDialog.h"
#include "shell/FileDialogs.h"
#include "shell/HelpForm.h"
#include "shell/StartupForm.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTimer>

#include <numeric>

// The patient, colour and calibration dialogs, the splash and the help
// window, driven as a user would.
class TestDialogs : public QObject {
    Q_OBJECT

    static bool showActive(QDialog& dialog)
    {
        dialog.show();
        dialog.activateWindow();
        return QTest::qWaitForWindowActive(&dialog);
    }

private slots:
    void init() { DefaultPatient() = CPatient{}; }

    // The flagged boxes marked (which ones is the rules' test), the highest
    // of them focused, and the values carried over from the last film marked
    // until edited. Return is OK: it stores the boxes.
    void patientBoxesMarksAndOk()
    {
        DefaultPatient().Famname = "Last";
        DefaultPatientFilm() = "/films/a.bmp";
        CZor zor;
        DataDialog dialog(zor, 2 + 32 + 256, nullptr, "/films/b.bmp");
        QVERIFY(showActive(dialog));
        for (int i = 0; i < 6; ++i) {
            const QColor base = dialog.box(DataField(i))->palette().color(QPalette::Base);
            QCOMPARE(base == QColor(255, 192, 255), i == 1 || i == 4 || i == 5);
            QCOMPARE(dialog.markedCarried(DataField(i)), i == 1);
        }
        QCOMPARE(QApplication::focusWidget(), dialog.E_Famname());
        QVERIFY(dialog.carriedNote()->isVisible() &&
                dialog.carriedNote()->text().contains("a.bmp"));
        QTest::keyClicks(dialog.E_Vorname(), "Anna");
        QTest::keyClick(dialog.E_Famname(), Qt::Key_End);
        QTest::keyClick(dialog.E_Famname(), Qt::Key_Backspace);
        QVERIFY(!dialog.markedCarried(DataField::Famname)); // edited: the user's own
        QTest::keyClick(dialog.E_Vorname(), Qt::Key_Return);
        QCOMPARE(zor.Patient.Famname + "," + zor.Patient.Vorname, std::string("Las,Anna"));
        QCOMPARE(DefaultPatientFilm(), std::string("/films/b.bmp"));
        DefaultPatientFilm().clear();
    }

    // A malformed date (left by Escape), or a text the report record cannot
    // hold (left by the close box), keeps the dialog open on its box and
    // stores nothing; a good text then closes it and stores the boxes.
    void refusedTextKeepsThePatientDialogOpen()
    {
        for (bool date : {true, false}) {
            ScopedMessages messages;
            CZor zor;
            zor.Patient.Famname = "Before";
            DataDialog dialog(zor, 0);
            QVERIFY(showActive(dialog));
            dialog.E_Famname()->setText("Typed");
            QLineEdit* box = date ? dialog.E_Datum() : dialog.E_Vorname();
            QTest::keyClicks(box, date ? "20031305" : "Jo \"Joe\"");
            if (date)
                QTest::keyClick(&dialog, Qt::Key_Escape);
            else
                QVERIFY(!dialog.close());
            QVERIFY(dialog.isVisible());
            QCOMPARE(messages.recorder.messages.size(), size_t(1)); // its text: the rules' test
            QCOMPARE(QApplication::focusWidget(), box);
            QCOMPARE(zor.Patient.Famname, std::string("Before"));
            QCOMPARE(box->text(), date ? QString() : QString("Jo \"Joe\""));
            box->setText(date ? "20030229" : "Jo"); // the day is only tested against 1..31
            QVERIFY(dialog.close());
            QCOMPARE(zor.Patient.Famname, std::string("Typed"));
            QCOMPARE(DefaultPatient().Famname, std::string("Typed"));
            QCOMPARE(QString::fromStdString(date ? zor.Datum : zor.Patient.Vorname), box->text());
        }
    }

    void colorBarsRepaintLive()
    {
        CBitmap bitmap;
        std::array<uint8_t, 256> ramp{};
        std::iota(ramp.begin(), ramp.end(), uint8_t{0});
        QVERIFY(bitmap.init(ramp.data(), 256, 1, ramp.size()));
        bitmap.ColorOffset = -56;
        bitmap.ColorScale = 300;
        bitmap.Invert();
        QList<int> shown; // level 100 at each repaint
        ColorDialog dialog(bitmap, [&] { shown << bitmap.levels()[100]; });
        QScrollBar* brightness = dialog.sb_brightness();
        // Opening shows the buffer's values and repaints, uninverted.
        QCOMPARE(QList<int>({brightness->value(), dialog.sb_contrast()->value()}),
                 QList<int>({200, 300}));
        QCOMPARE(shown, QList<int>({61, 61}));
        QVERIFY(showActive(dialog));
        brightness->setSliderDown(true); // the grip is held: the picture follows
        brightness->setSliderPosition(300);
        QCOMPARE(shown.last(), 161);
        brightness->setSliderDown(false);
        QTest::mouseClick(dialog.b_Reset(), Qt::LeftButton);
        QCOMPARE(QList<int>({brightness->value(), dialog.sb_contrast()->value(), shown.last()}),
                 QList<int>({256, 256, 100}));
        dialog.sb_contrast()->setValue(320);
        QTest::mouseClick(dialog.b_Close(), Qt::LeftButton);
        QVERIFY(!dialog.isVisible());
        QCOMPARE(ColorDialog(bitmap, {}).sb_contrast()->value(), 320); // the values stay
    }

    void aSavedNameWithoutSuffixTakesTheChosenFilters()
    {
        for (auto [path, filter, saved] : {std::tuple{"/d/report", "PDF (*.pdf)", "/d/report.pdf"},
                                           {"/d/plot.svg", "PNG (*.png)", "/d/plot.svg"},
                                           {"/d/notes", "All files (*)", "/d/notes"},
                                           {"", "PDF (*.pdf)", ""}})
            QCOMPARE(FileDialogs::withSuffix(path, filter), QString(saved));
    }

    void calibrationDistance()
    {
        // What the box reads is DistanceText's; here OK takes it or stays open.
        for (auto [text, dist] : {std::pair{"12,5", 12.5F}, {"12 mm", 0.0F}}) {
            CalibDialog dialog(nullptr, 25.0);
            QCOMPARE(dialog.distanceText(), QString("25"));
            QVERIFY(showActive(dialog));
            dialog.setDistanceText(text);
            QTest::mouseClick(dialog.findChild<QPushButton*>("OKButton"), Qt::LeftButton);
            QCOMPARE(dialog.isVisible(), dist == 0.0F);
            QCOMPARE(dialog.Dist(), dist);
            if (dist == 0.0F) { // still open: Cancel gives no distance
                QTest::mouseClick(dialog.findChild<QPushButton*>("CancelButton"), Qt::LeftButton);
                QVERIFY(!dialog.isVisible());
            }
        }
    }

    void splashOncePerProcessAndClosesItself()
    {
        StartupForm::setSplashShown(false);
        QTimer::singleShot(0, [] {
            auto* splash = qobject_cast<StartupForm*>(QApplication::activeModalWidget());
            QVERIFY(splash);
            QCOMPARE(splash->Timer1()->interval(), 5000);
            QVERIFY(splash->Timer1()->isActive());
            splash->Timer1()->start(1); // the five seconds, shortened
        });
        QVERIFY(StartupForm::showSplashOnce(nullptr));
        QVERIFY(!StartupForm::showSplashOnce(nullptr)); // returns at once

        StartupForm about;
        about.show();
        QTest::mouseClick(about.Command1(), Qt::LeftButton);
        QVERIFY(!about.isVisible());
        QVERIFY(!about.Timer1()->isActive()); // no late close
    }

    void oneHelpWindowClosedByAClickOnItsPicture()
    {
        QWidget owner;
        QPointer<HelpForm> help = HelpForm::showHelp(&owner);
        QVERIFY(help && help->isVisible());
        QCOMPARE(HelpForm::showHelp(&owner), help.data());
        QTest::mouseClick(help->Image1(), Qt::LeftButton);
        QTRY_VERIFY(help.isNull());
        QVERIFY(!HelpForm::instance());
    }
};

QTEST_MAIN(TestDialogs)
#include "tst_dialogs.moc"
