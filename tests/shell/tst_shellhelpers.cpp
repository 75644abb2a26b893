#include "shell/QtUserMessages.h"
#include "shell/WaitCursor.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <QWidget>
#include <QtTest>

#include <stdexcept>

// The hourglass guard and the message boxes behind the application-wide hook.
class TestShellHelpers : public QObject {
    Q_OBJECT

private:
    // Answers the next modal message box with `button` once it is shown and
    // records what it showed.
    void answerNextBox(QMessageBox::StandardButton button)
    {
        seenTitle_.clear();
        seenText_.clear();
        QTimer::singleShot(0, this, [this, button] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            QVERIFY(box);
            seenTitle_ = box->windowTitle();
            seenText_ = box->text();
            seenIcon_ = box->icon();
            seenButtons_ = box->standardButtons();
            box->button(button)->click();
        });
    }

    QString seenTitle_;
    QString seenText_;
    QMessageBox::Icon seenIcon_ = QMessageBox::NoIcon;
    QMessageBox::StandardButtons seenButtons_;

private slots:
    void waitCursorRestoresWidgetCursorOnEveryWayOut()
    {
        QWidget w;
        w.setCursor(Qt::CrossCursor);
        {
            WaitCursor guard(&w);
            QCOMPARE(w.cursor().shape(), Qt::WaitCursor);
            QVERIFY(QApplication::overrideCursor());
            QCOMPARE(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
        }
        QCOMPARE(w.cursor().shape(), Qt::CrossCursor);
        QVERIFY(!QApplication::overrideCursor());

        try {
            WaitCursor guard(&w);
            throw std::runtime_error("filter failed");
        } catch (const std::runtime_error&) {
        }
        QCOMPARE(w.cursor().shape(), Qt::CrossCursor);
        QVERIFY(!QApplication::overrideCursor());
    }

    void waitCursorsNest()
    {
        QWidget w;
        w.setCursor(Qt::SizeAllCursor);
        {
            WaitCursor outer(&w);
            {
                WaitCursor inner;
                QCOMPARE(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
            }
            QVERIFY(QApplication::overrideCursor());
        }
        QVERIFY(!QApplication::overrideCursor());
        QCOMPARE(w.cursor().shape(), Qt::SizeAllCursor);
    }

    void waitCursorSurvivesItsWidget()
    {
        auto* w = new QWidget;
        {
            WaitCursor guard(w);
            delete w;
        }
        QVERIFY(!QApplication::overrideCursor());
    }

    void messageShowsCaptionTextAndIcon_data()
    {
        QTest::addColumn<int>("icon");
        QTest::addColumn<int>("expected");
        QTest::newRow("critical") << int(MessageIcon::Critical) << int(QMessageBox::Critical);
        QTest::newRow("warning") << int(MessageIcon::Warning) << int(QMessageBox::Warning);
        QTest::newRow("information")
            << int(MessageIcon::Information) << int(QMessageBox::Information);
        QTest::newRow("none") << int(MessageIcon::None) << int(QMessageBox::NoIcon);
    }
    void messageShowsCaptionTextAndIcon()
    {
        QFETCH(int, icon);
        QFETCH(int, expected);
        QtUserMessages messages;
        answerNextBox(QMessageBox::Ok);
        messages.showMessage("Date Format Error", "invalid Date Format!\nuse 'yyyymmdd'",
                             MessageIcon(icon));
        QCOMPARE(seenTitle_, QString("Date Format Error"));
        QCOMPARE(seenText_, QString("invalid Date Format!\nuse 'yyyymmdd'"));
        QCOMPARE(int(seenIcon_), expected);
        QCOMPARE(seenButtons_, QMessageBox::StandardButtons(QMessageBox::Ok));
    }

    void messageKeepsUtf8Text()
    {
        QtUserMessages messages;
        answerNextBox(QMessageBox::Ok);
        messages.showMessage("Error", "M\xc3\xbcller", MessageIcon::Critical);
        QCOMPARE(seenText_, QString::fromUtf8("M\xc3\xbcller"));
    }

    void questionAnswers_data()
    {
        QTest::addColumn<int>("button");
        QTest::addColumn<bool>("answer");
        QTest::newRow("yes") << int(QMessageBox::Yes) << true;
        QTest::newRow("no") << int(QMessageBox::No) << false;
    }
    void questionAnswers()
    {
        QFETCH(int, button);
        QFETCH(bool, answer);
        QtUserMessages messages;
        answerNextBox(QMessageBox::StandardButton(button));
        QCOMPARE(messages.askYesNo("zor", "Are you sure? Not saved results will be lost!"), answer);
        QCOMPARE(seenTitle_, QString("zor"));
        QCOMPARE(seenButtons_, QMessageBox::StandardButtons(QMessageBox::Yes | QMessageBox::No));
    }
};

QTEST_MAIN(TestShellHelpers)
#include "tst_shellhelpers.moc"
