#include "shell/CalibDialog.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

class TestCalibDialog : public QObject {
    Q_OBJECT

private slots:
    void showsItsTexts();
    void offersThePreviousDistance_data();
    void offersThePreviousDistance();
    void okTakesTheNumber_data();
    void okTakesTheNumber();
    void noNumberKeepsTheDialogOpen();
    void cancelAndEscapeGiveZero_data();
    void cancelAndEscapeGiveZero();
    void enterPressesOk();
};

void TestCalibDialog::showsItsTexts()
{
    CalibDialog dialog;
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Dialog Caption"));
    auto* label = dialog.findChild<QLabel*>(QStringLiteral("Label1"));
    QVERIFY(label);
    QCOMPARE(label->text(), QStringLiteral("Enter distance between the two points in mm"));
    auto* ok = dialog.findChild<QPushButton*>(QStringLiteral("OKButton"));
    auto* cancel = dialog.findChild<QPushButton*>(QStringLiteral("CancelButton"));
    QVERIFY(ok && cancel);
    QCOMPARE(ok->text(), QStringLiteral("OK"));
    QCOMPARE(cancel->text(), QStringLiteral("Cancel"));
    QVERIFY(ok->isDefault());
    QVERIFY(!cancel->isDefault());
    QCOMPARE(dialog.Dist(), 0.0F);
    QVERIFY(dialog.distanceText().isEmpty());
}

void TestCalibDialog::offersThePreviousDistance_data()
{
    QTest::addColumn<double>("offered");
    QTest::addColumn<QString>("text");
    QTest::newRow("none") << 0.0 << QString();
    QTest::newRow("typed float") << static_cast<double>(23.4F) << QStringLiteral("23.4");
    QTest::newRow("whole") << 50.0 << QStringLiteral("50");
}

void TestCalibDialog::offersThePreviousDistance()
{
    QFETCH(double, offered);
    QFETCH(QString, text);
    CalibDialog dialog(nullptr, offered);
    QCOMPARE(dialog.distanceText(), text);
    // The offer alone is no answer: closing without "OK" still gives 0.
    dialog.reject();
    QCOMPARE(dialog.Dist(), 0.0F);
}

void TestCalibDialog::okTakesTheNumber_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<float>("dist");
    QTest::newRow("period") << QStringLiteral("12.5") << 12.5F;
    QTest::newRow("comma") << QStringLiteral("12,5") << 12.5F;
    QTest::newRow("blanks") << QStringLiteral(" 40 ") << 40.0F;
    // Zero and negative close the dialog; the caller drops the points.
    QTest::newRow("zero") << QStringLiteral("0") << 0.0F;
    QTest::newRow("negative") << QStringLiteral("-3,5") << -3.5F;
}

void TestCalibDialog::okTakesTheNumber()
{
    QFETCH(QString, text);
    QFETCH(float, dist);
    CalibDialog dialog;
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    dialog.setDistanceText(text);
    QTest::mouseClick(dialog.findChild<QPushButton*>(QStringLiteral("OKButton")), Qt::LeftButton);
    QVERIFY(!dialog.isVisible());
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(dialog.Dist(), dist);
}

void TestCalibDialog::noNumberKeepsTheDialogOpen()
{
    CalibDialog dialog;
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    auto* ok = dialog.findChild<QPushButton*>(QStringLiteral("OKButton"));
    for (const char* text : {"abc", "", "1.234,5", "12 mm"}) {
        dialog.setDistanceText(QString::fromLatin1(text));
        QTest::mouseClick(ok, Qt::LeftButton);
        QVERIFY2(dialog.isVisible(), text);
        QCOMPARE(dialog.Dist(), 0.0F);
    }
    // The user corrects the text and the same dialog accepts it.
    dialog.setDistanceText(QStringLiteral("30"));
    QTest::mouseClick(ok, Qt::LeftButton);
    QVERIFY(!dialog.isVisible());
    QCOMPARE(dialog.Dist(), 30.0F);
}

void TestCalibDialog::cancelAndEscapeGiveZero_data()
{
    QTest::addColumn<bool>("byEscape");
    QTest::newRow("Cancel button") << false;
    QTest::newRow("Escape key") << true;
}

void TestCalibDialog::cancelAndEscapeGiveZero()
{
    QFETCH(bool, byEscape);
    CalibDialog dialog(nullptr, 25.0);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    if (byEscape)
        QTest::keyClick(&dialog, Qt::Key_Escape);
    else
        QTest::mouseClick(dialog.findChild<QPushButton*>(QStringLiteral("CancelButton")),
                          Qt::LeftButton);
    QVERIFY(!dialog.isVisible());
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
    QCOMPARE(dialog.Dist(), 0.0F);
}

void TestCalibDialog::enterPressesOk()
{
    CalibDialog dialog;
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    auto* edit = dialog.findChild<QLineEdit*>(QStringLiteral("e_Distance"));
    QVERIFY(edit);
    edit->setFocus();
    QTest::keyClicks(edit, QStringLiteral("7,25"));
    QTest::keyClick(edit, Qt::Key_Return);
    QVERIFY(!dialog.isVisible());
    QCOMPARE(dialog.Dist(), 7.25F);
}

QTEST_MAIN(TestCalibDialog)
#include "tst_calibdialog.moc"
