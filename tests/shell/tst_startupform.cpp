#include "shell/StartupForm.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <functional>

namespace {

// Closes the next modal window by "OK" once it is up; counts how often.
void pressOkWhenShown(int* shown)
{
    QTimer::singleShot(0, [shown] {
        auto* form = qobject_cast<StartupForm*>(QApplication::activeModalWidget());
        QVERIFY(form);
        ++*shown;
        QTest::mouseClick(form->Command1(), Qt::LeftButton);
    });
}

QStringList labelTexts(const QWidget& w)
{
    QStringList texts;
    for (const QLabel* label : w.findChildren<QLabel*>())
        texts << label->text();
    return texts;
}

} // namespace

class TestStartupForm : public QObject {
    Q_OBJECT

private slots:
    void init() { StartupForm::setSplashShown(false); }

    void showsNameVersionLogoAndOk();
    void closes_data();
    void closes();
    void closesItselfAfterFiveSeconds();
    void splashOnlyOncePerProcess();
    void aboutShowsItEveryTime();
};

void TestStartupForm::showsNameVersionLogoAndOk()
{
    StartupForm form;
    const QStringList texts = labelTexts(form);
    QVERIFY(texts.contains("OLTA-ZOR"));
    QVERIFY(texts.contains("Release 2003 / SP2"));
    QCOMPARE(form.Command1()->text(), QString("OK"));
    QVERIFY(!form.logo()->pixmap().isNull());
    QVERIFY(form.logo()->pixmap().width() >= 64);
    QCOMPARE(form.Timer1()->interval(), 5000);
    QVERIFY(form.Timer1()->isSingleShot());
    // The timer runs from the showing, not from the making.
    QVERIFY(!form.Timer1()->isActive());
}

void TestStartupForm::closes_data()
{
    QTest::addColumn<bool>("byTimer");
    QTest::newRow("OK pressed") << false;
    QTest::newRow("timer fired") << true;
}

void TestStartupForm::closes()
{
    QFETCH(bool, byTimer);
    StartupForm form;
    form.Timer1()->setInterval(30); // the wiring, without waiting 5 s
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QVERIFY(form.Timer1()->isActive());
    if (!byTimer)
        QTest::mouseClick(form.Command1(), Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(!form.isVisible(), 2000);
    // Closed, it must not fire again later.
    QVERIFY(!form.Timer1()->isActive());
}

void TestStartupForm::closesItselfAfterFiveSeconds()
{
    QElapsedTimer clock;
    clock.start();
    StartupForm::showAbout(nullptr); // modal: returns when the form closed
    const qint64 ms = clock.elapsed();
    QVERIFY2(ms >= 4900 && ms < 9000, qPrintable(QString::number(ms)));
}

void TestStartupForm::splashOnlyOncePerProcess()
{
    QWidget owner;
    int shown = 0;
    pressOkWhenShown(&shown);
    QVERIFY(StartupForm::showSplashOnce(&owner));
    QCOMPARE(shown, 1);
    QVERIFY(StartupForm::splashShown());
    // A second window's start-up: no splash, and nothing blocks.
    QVERIFY(!StartupForm::showSplashOnce(&owner));
    QCOMPARE(shown, 1);
}

void TestStartupForm::aboutShowsItEveryTime()
{
    QWidget owner;
    int shown = 0;
    pressOkWhenShown(&shown);
    QVERIFY(StartupForm::showSplashOnce(&owner));
    for (int i = 0; i < 2; ++i) {
        pressOkWhenShown(&shown);
        StartupForm::showAbout(&owner);
    }
    QCOMPARE(shown, 3);
}

QTEST_MAIN(TestStartupForm)
#include "tst_startupform.moc"
