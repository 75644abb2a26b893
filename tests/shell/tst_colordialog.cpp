#include "image/CBitmap.h"
#include "shell/ColorDialog.h"

#include <QPushButton>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QTest>

#include <array>
#include <numeric>

namespace {

// One row of every grey level, so that the table shows directly.
void loadRamp(CBitmap& bitmap)
{
    std::array<uint8_t, 256> ramp{};
    std::iota(ramp.begin(), ramp.end(), uint8_t{0});
    QVERIFY(bitmap.init(ramp.data(), 256, 1, ramp.size()));
}

bool isIdentity(const CBitmap& bitmap)
{
    for (int i = 0; i < 256; ++i)
        if (bitmap.levels()[i] != i)
            return false;
    return true;
}

QPoint sliderCentre(QScrollBar* bar)
{
    QStyleOptionSlider option;
    option.initFrom(bar);
    option.orientation = bar->orientation();
    option.minimum = bar->minimum();
    option.maximum = bar->maximum();
    option.sliderPosition = bar->sliderPosition();
    option.sliderValue = bar->value();
    option.singleStep = bar->singleStep();
    option.pageStep = bar->pageStep();
    return bar->style()
        ->subControlRect(QStyle::CC_ScrollBar, &option, QStyle::SC_ScrollBarSlider, bar)
        .center();
}

} // namespace

class TestColorDialog : public QObject {
    Q_OBJECT

private slots:
    void showsItsControls();
    void openingShowsTheBufferValuesAndRepaints_data();
    void openingShowsTheBufferValuesAndRepaints();
    void openingAnInvertedImageShowsItUninverted();
    void barsSetTheTable_data();
    void barsSetTheTable();
    void pictureFollowsADraggedBar();
    void resetRestoresBothBars();
    void closeKeepsTheValues();
};

void TestColorDialog::showsItsControls()
{
    CBitmap bitmap;
    loadRamp(bitmap);
    ColorDialog dialog(bitmap, nullptr);
    QCOMPARE(dialog.windowTitle(), QString("Adjust Colors"));
    for (QScrollBar* bar : {dialog.sb_brightness(), dialog.sb_contrast()}) {
        QCOMPARE(bar->orientation(), Qt::Horizontal);
        QCOMPARE(bar->minimum(), 0);
        QCOMPARE(bar->maximum(), 512);
    }
    QCOMPARE(dialog.b_Reset()->text(), QString("Reset"));
    QCOMPARE(dialog.b_Close()->text(), QString("Close"));
    // An empty callback is allowed: moving a bar then only changes the table.
    dialog.sb_brightness()->setValue(300);
    QCOMPARE(bitmap.ColorOffset, int16_t(44));
}

void TestColorDialog::openingShowsTheBufferValuesAndRepaints_data()
{
    QTest::addColumn<int>("offset");
    QTest::addColumn<int>("scale");
    QTest::addColumn<int>("repaints");
    QTest::newRow("defaults") << 0 << 256 << 2;
    QTest::newRow("last set values") << -56 << 300 << 2;
    // A bar set to 0, where it starts, is no change.
    QTest::newRow("darkest, flat") << -256 << 0 << 0;
}

void TestColorDialog::openingShowsTheBufferValuesAndRepaints()
{
    QFETCH(int, offset);
    QFETCH(int, scale);
    QFETCH(int, repaints);
    CBitmap bitmap;
    loadRamp(bitmap);
    bitmap.ColorOffset = int16_t(offset);
    bitmap.ColorScale = int16_t(scale);
    int painted = 0;
    ColorDialog dialog(bitmap, [&painted] { ++painted; });
    QCOMPARE(dialog.sb_brightness()->value(), offset + 256);
    QCOMPARE(dialog.sb_contrast()->value(), scale);
    QCOMPARE(painted, repaints);
    QCOMPARE(int(bitmap.ColorOffset), offset);
    QCOMPARE(int(bitmap.ColorScale), scale);
}

void TestColorDialog::openingAnInvertedImageShowsItUninverted()
{
    CBitmap bitmap;
    loadRamp(bitmap);
    bitmap.Invert();
    QCOMPARE(int(bitmap.levels()[0]), 255);
    ColorDialog dialog(bitmap, [] {});
    QVERIFY(isIdentity(bitmap));
}

void TestColorDialog::barsSetTheTable_data()
{
    QTest::addColumn<int>("brightness");
    QTest::addColumn<int>("contrast");
    QTest::addColumn<int>("level");
    QTest::addColumn<int>("shown");
    QTest::newRow("identity") << 256 << 256 << 100 << 100;
    QTest::newRow("brighter") << 300 << 256 << 100 << 144;
    QTest::newRow("bar 0 is black") << 0 << 256 << 255 << 0;
    QTest::newRow("contrast 2.0") << 256 << 512 << 100 << 200;
    QTest::newRow("contrast 2.0 clips") << 256 << 512 << 128 << 255;
    QTest::newRow("contrast 0 is black") << 256 << 0 << 255 << 0;
    QTest::newRow("contrast 0, bar 512 is white") << 512 << 0 << 0 << 255;
    QTest::newRow("1.5 rounds half to even") << 256 << 384 << 3 << 4;
}

void TestColorDialog::barsSetTheTable()
{
    QFETCH(int, brightness);
    QFETCH(int, contrast);
    QFETCH(int, level);
    QFETCH(int, shown);
    CBitmap bitmap;
    loadRamp(bitmap);
    int painted = 0;
    ColorDialog dialog(bitmap, [&painted] { ++painted; });
    painted = 0;
    dialog.sb_contrast()->setValue(contrast);
    dialog.sb_brightness()->setValue(brightness);
    QCOMPARE(int(bitmap.ColorOffset), brightness - 256);
    QCOMPARE(int(bitmap.ColorScale), contrast);
    QCOMPARE(int(bitmap.levels()[level]), shown);
    QCOMPARE(painted, int(brightness != 256) + int(contrast != 256));
}

void TestColorDialog::pictureFollowsADraggedBar()
{
    CBitmap bitmap;
    loadRamp(bitmap);
    int painted = 0;
    uint8_t seen = 0;
    ColorDialog dialog(bitmap, [&] {
        ++painted;
        seen = bitmap.levels()[100];
    });
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QScrollBar* bar = dialog.sb_brightness();
    painted = 0;
    const QPoint grip = sliderCentre(bar);
    QTest::mousePress(bar, Qt::LeftButton, {}, grip);
    QTest::mouseMove(bar, grip + QPoint(40, 0));
    // Still held: the picture has already been repainted brighter.
    QVERIFY(bar->isSliderDown());
    QVERIFY(painted >= 1);
    QVERIFY(bitmap.ColorOffset > 0);
    QCOMPARE(int(seen), std::min(255, 100 + bitmap.ColorOffset));
    QTest::mouseRelease(bar, Qt::LeftButton, {}, grip + QPoint(40, 0));
}

void TestColorDialog::resetRestoresBothBars()
{
    CBitmap bitmap;
    loadRamp(bitmap);
    int painted = 0;
    ColorDialog dialog(bitmap, [&painted] { ++painted; });
    dialog.sb_brightness()->setValue(100);
    dialog.sb_contrast()->setValue(450);
    bitmap.Invert();
    painted = 0;
    QTest::mouseClick(dialog.b_Reset(), Qt::LeftButton);
    QCOMPARE(dialog.sb_brightness()->value(), 256);
    QCOMPARE(dialog.sb_contrast()->value(), 256);
    QCOMPARE(int(bitmap.ColorOffset), 0);
    QCOMPARE(int(bitmap.ColorScale), 256);
    QVERIFY(isIdentity(bitmap));
    QVERIFY(painted >= 1);
}

void TestColorDialog::closeKeepsTheValues()
{
    CBitmap bitmap;
    loadRamp(bitmap);
    {
        ColorDialog dialog(bitmap, [] {});
        dialog.show();
        dialog.sb_brightness()->setValue(200);
        dialog.sb_contrast()->setValue(320);
        QTest::mouseClick(dialog.b_Close(), Qt::LeftButton);
        QVERIFY(!dialog.isVisible());
    }
    QCOMPARE(int(bitmap.ColorOffset), -56);
    QCOMPARE(int(bitmap.ColorScale), 320);
    // Reopening shows the values last set.
    ColorDialog again(bitmap, [] {});
    QCOMPARE(again.sb_brightness()->value(), 200);
    QCOMPARE(again.sb_contrast()->value(), 320);
}

QTEST_MAIN(TestColorDialog)
#include "tst_colordialog.moc"
