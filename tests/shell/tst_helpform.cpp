#include "shell/DemoCase.h"
#include "shell/HelpForm.h"
#include "shell/HelpPicture.h"

#include <QApplication>
#include <QLabel>
#include <QPointer>
#include <QTest>

namespace {

int openHelpWindows()
{
    int n = 0;
    for (QWidget* w : QApplication::topLevelWidgets())
        n += qobject_cast<HelpForm*>(w) && w->isVisible() ? 1 : 0;
    return n;
}

void flushDeletes()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

bool isRed(QRgb c)
{
    return qRed(c) > 200 && qGreen(c) < 90 && qBlue(c) < 90;
}

// Antialiased lines may miss the one pixel: look at its neighbours too.
bool redNear(const QImage& image, QPoint at)
{
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx)
            if (isRed(image.pixel(at + QPoint(dx, dy))))
                return true;
    return false;
}

} // namespace

class TestHelpForm : public QObject {
    Q_OBJECT

private slots:
    void cleanup()
    {
        if (HelpForm* form = HelpForm::instance())
            form->close();
        flushDeletes();
    }

    void isModelessCaptionedHelpAndOwned();
    void secondRequestShowsTheSameWindow();
    void clickOnThePictureClosesIt();
    void goesWithItsOwner();
    void pictureMarksTheLandmarksInRed();
};

void TestHelpForm::isModelessCaptionedHelpAndOwned()
{
    QWidget owner;
    owner.show();
    HelpForm* form = HelpForm::showHelp(&owner);
    QVERIFY(form);
    QCOMPARE(form->windowTitle(), QString("Help"));
    QVERIFY(form->isVisible());
    QCOMPARE(form->windowModality(), Qt::NonModal);
    QVERIFY(form->isWindow());
    QCOMPARE(form->parentWidget(), &owner);
    // Modeless: the owner is still usable.
    QVERIFY(!QApplication::activeModalWidget());
    QVERIFY(owner.isEnabled());
}

void TestHelpForm::secondRequestShowsTheSameWindow()
{
    QWidget owner;
    HelpForm* first = HelpForm::showHelp(&owner);
    first->hide();
    HelpForm* second = HelpForm::showHelp(&owner);
    QCOMPARE(second, first);
    QVERIFY(second->isVisible());
    QCOMPARE(openHelpWindows(), 1);
}

void TestHelpForm::clickOnThePictureClosesIt()
{
    QWidget owner;
    QPointer<HelpForm> form = HelpForm::showHelp(&owner);
    QVERIFY(QTest::qWaitForWindowExposed(form));
    // A click elsewhere than on the picture (there is nothing else) would be
    // a press without release on the picture: it must not close.
    QTest::mousePress(form->Image1(), Qt::LeftButton, {}, QPoint(10, 10));
    QVERIFY(form->isVisible());
    QTest::mouseRelease(form->Image1(), Qt::LeftButton, {}, QPoint(10, 10));
    QVERIFY(!form->isVisible());
    flushDeletes();
    QVERIFY(form.isNull());
    QVERIFY(!HelpForm::instance());
    // Help again makes a new window.
    QVERIFY(HelpForm::showHelp(&owner));
    QCOMPARE(openHelpWindows(), 1);
}

void TestHelpForm::goesWithItsOwner()
{
    auto* owner = new QWidget;
    QPointer<HelpForm> form = HelpForm::showHelp(owner);
    delete owner;
    QVERIFY(form.isNull());
    QVERIFY(!HelpForm::instance());
    QWidget other;
    QVERIFY(HelpForm::showHelp(&other));
}

void TestHelpForm::pictureMarksTheLandmarksInRed()
{
    const QImage picture = HelpPicture::drawHelpPicture();
    HelpForm form;
    QCOMPARE(form.Image1()->pixmap().size(), picture.size());
    const DemoCase::Landmarks& l = DemoCase::landmarks();
    QList<QPointF> marked(l.headPoints.begin(), l.headPoints.end());
    marked << QList<QPointF>(l.femurPoints.begin(), l.femurPoints.end());
    marked << l.gtLine.center() << l.tipLine.center() << l.ltLine1.pointAt(0.25)
           << l.ltLine2.pointAt(0.75);
    for (const QPointF& p : marked) {
        const QPoint at = HelpPicture::toPicture(p).toPoint();
        QVERIFY2(redNear(picture, at), qPrintable(QString("%1,%2").arg(at.x()).arg(at.y())));
    }
    // Red only where there is a landmark: the radiograph itself is grey.
    const QPoint stemMiddle = HelpPicture::toPicture(l.axis.pointAt(0.4)).toPoint();
    QVERIFY(!redNear(picture, stemMiddle));
}

QTEST_MAIN(TestHelpForm)
#include "tst_helpform.moc"
