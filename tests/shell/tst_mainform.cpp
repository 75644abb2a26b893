#include "MainFormFixture.h"
#include "casefile/DefaultPatient.h"
#include "model/CZor.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QScrollBar>
#include <QtTest>

#include <memory>

// The main window: menus, opening an image and its settings file, the File
// commands and what a failed load leaves behind.
class TestMainForm : public QObject {
    Q_OBJECT

    std::unique_ptr<MainFormFixture> fx_;

    // A shown window with `image` open.
    std::unique_ptr<MainForm> openWindow(const QString& image)
    {
        auto w = std::make_unique<MainForm>();
        w->resize(800, 600);
        w->show();
        if (!QTest::qWaitForWindowExposed(w.get()))
            return nullptr;
        if (!w->OpenImage(image))
            return nullptr;
        return w;
    }

    const RecordingMessages& rec() const { return fx_->messages.recorder; }

    // A complete measurement on a 400 x 600 image that the analysis accepts.
    static void placeCase(CZor& z)
    {
        z.Datum = "20240131";
        z.Patient.Famname = "M\xc3\xbcller";
        z.Patient.Vorname = "Anna";
        z.Patient.Code = "S-17";
        z.Patient.HeadTR = 14.0;
        z.Patient.DatFile = "study";
        z.head.removeAll();
        z.head.addPoint(120, 100);
        z.head.addPoint(180, 100);
        z.head.addPoint(150, 70);
        z.head.M.change(150, 100);
        z.head.R = 30;
        z.head.Valid = true;
        z.AxisLine.init(200, 600, 200, 0);
        z.AxisLine.Valid = true;
        z.Shoulder.change(205, 150);
        z.ShoulderValid = true;
        z.GTLine.init(150, 140, 250, 140);
        z.TipLine.init(150, 450, 250, 450);
        z.LTLine1.init(150, 200, 250, 260);
        z.LTLine2.init(150, 260, 250, 200);
        z.GTLine.Valid = z.TipLine.Valid = z.LTLine1.Valid = z.LTLine2.Valid = true;
        z.LinesVisible = true;
        const double ys[] = {250, 320, 390, 460};
        for (int16_t k = 0; k < 4; ++k) {
            z.points(int16_t(2 * k)).change(160, ys[k]);
            z.points(int16_t(2 * k + 1)).change(240, ys[k] + 2);
        }
        z.PointsValid = true;
    }

private slots:
    void init() { fx_ = std::make_unique<MainFormFixture>(); }
    void cleanup() { fx_.reset(); }

    void menuTree_data()
    {
        QTest::addColumn<QString>("menu");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("shortcut");
        QTest::addColumn<bool>("enabled");
        struct Row {
            const char *menu, *name, *caption, *shortcut;
            bool enabled;
        };
        const Row rows[] = {
            {"m_File", "m_Open", "&Open ...", "", true},
            {"m_File", "m_New", "&new Window", "", true},
            {"m_File", "m_Patient", "&Patient's Data", "", true},
            {"m_File", "m_Load_bin", "&Reload Landmarks", "", true},
            {"m_File", "m_Write_dat", "&Write Data", "", true},
            {"m_File", "m_Exit", "&Exit", "", true},
            {"m_Zoom", "m_ZoomUp", "Zoom +", "F5", true},
            {"m_Zoom", "m_ZoomDown", "Zoom -", "F6", true},
            {"m_Zoom", "m_ZoomMouse", "Zoom with Mouse", "F7", true},
            {"m_Zoom", "m_ZoomCenter", "CenterMode", "F8", true},
            {"m_filter", "m_Adjust", "&adjust Colors ...", "", true},
            {"m_filter", "m_ResetColors", "&reset Colors", "Ctrl+E", true},
            {"m_filter", "m_filter1", "&sharpen", "", true},
            {"m_filter", "m_filter2", "sharpen &more", "", true},
            {"m_filter", "m_filter3", "sharpen str&ong", "", true},
            {"m_filter", "m_undo", "&undo sharpen", "", true},
            {"m_filter", "m_Invert", "&invert", "Ctrl+I", true},
            {"m_filter", "m_hardcopy", "&hardcopy", "Ctrl+P", true},
            {"m_Tools", "m_Head", "&Head", "Ctrl+H", true},
            {"m_Tools", "m_StemAxis", "&Stem Axis", "", true},
            {"m_Tools", "m_Shoulder", "Sh&oulder Point", "", false},
            {"m_Tools", "m_LTLines_Rotate_30", "&Minor Troch. 30\xc2\xb0/60\xc2\xb0", "", false},
            {"m_Tools", "m_LTLines_Rotate_45", "&Minor Troch. 45\xc2\xb0/45\xc2\xb0", "", false},
            {"m_Tools", "m_LTLines_Rotate_60", "&Minor Troch. 60\xc2\xb0/30\xc2\xb0", "", false},
            {"m_Tools", "m_8Points", "&8 Points", "", false},
            {"m_Tools", "m_CMarker", "C&ement Marker (optional)", "", true},
            {"m_Tools", "m_Calibrate", "C&alibrate", "", true},
            {"m_Tools", "m_Distance", "calc &Distance", "Ctrl+D", true},
            {"m_Tools", "m_ResetLandmarks", "reset &Landmarks", "Ctrl+G", true},
            {"m_helpmenu", "m_about", "About", "", true},
            {"m_helpmenu", "m_help", "Help", "F1", true},
        };
        for (const Row& r : rows)
            QTest::newRow(r.name) << r.menu << r.name << QString::fromUtf8(r.caption) << r.shortcut
                                  << r.enabled;
    }
    void menuTree()
    {
        QFETCH(QString, menu);
        QFETCH(QString, name);
        QFETCH(QString, caption);
        QFETCH(QString, shortcut);
        QFETCH(bool, enabled);
        MainForm w;
        QAction* a = w.action(name);
        QVERIFY(a);
        QCOMPARE(a->text(), caption);
        QCOMPARE(a->shortcut().toString(), shortcut);
        QCOMPARE(a->isEnabled(), enabled);
        QVERIFY(w.menu(menu)->actions().contains(a));
        QCOMPARE(a->isChecked(), name == "m_ZoomCenter");
    }

    void menuOrder()
    {
        MainForm w;
        QStringList titles;
        for (QAction* m : w.menuBar()->actions())
            titles << m->text();
        QCOMPARE(titles,
                 QStringList({"&File", "&Zoom", "&Image Tools", "&Measurement Tools", "&?"}));
        QStringList tools;
        for (QAction* a : w.menu("m_Tools")->actions())
            tools << a->objectName();
        QCOMPARE(tools,
                 QStringList({"m_Head", "m_StemAxis", "m_Shoulder", "m_LTLines_Rotate_30",
                              "m_LTLines_Rotate_45", "m_LTLines_Rotate_60", "m_8Points",
                              "m_CMarker", "m_Calibrate", "m_Distance", "m_ResetLandmarks"}));
        QStringList file;
        for (QAction* a : w.menu("m_File")->actions())
            file << a->objectName();
        QCOMPARE(file, QStringList({"m_Open", "m_New", "m_Patient", "m_Load_bin", "m_Write_dat",
                                    "m_Exit"}));
        QVERIFY(w.action("m_ZoomCenter")->isCheckable());
    }

    void openThroughDialogRemembersThePath()
    {
        fx_->clearSettings();
        const QString img = writeTestImage(fx_->file("case1.bmp"), 64, 48);
        MainForm w;
        fx_->answers = {img};
        QVERIFY(w.OpenImage());
        QCOMPARE(fx_->calls.size(), size_t(1));
        QCOMPARE(fx_->calls[0].dir, QString());
        QCOMPARE(fx_->calls[0].file, QString());
        QCOMPARE(fx_->calls[0].filters,
                 QStringList({"supported-Files (*.bmp *.jpg *.gif)", "Bitmap-Files (*.bmp)",
                              "jpeg-Files (*.jpg)", "gif-Files (*.gif)"}));
        QCOMPARE(w.windowTitle(), img);
        QCOMPARE(w.landmarkFile(), fx_->file("case1.bit"));
        QCOMPARE(w.Bitmap().W(), int16_t(64));
        QCOMPARE(w.Bitmap().H(), int16_t(48));
        QCOMPARE(int(w.Bitmap().pixel(5, 3)), testGrey(5, 3));

        const QString ini = fx_->settingsText();
        QVERIFY2(ini.contains("[LastPath]"), qPrintable(ini));
        QVERIFY2(ini.contains("Path=" + img), qPrintable(ini));

        // The next dialog starts in that folder with that file.
        fx_->answers = {QString()};
        QVERIFY(!w.OpenImage());
        QCOMPARE(fx_->calls[1].dir, fx_->data.path());
        QCOMPARE(fx_->calls[1].file, img);
    }

    void cancelChangesNothing()
    {
        const QString img = writeTestImage(fx_->file("a.bmp"), 32, 32);
        MainForm w;
        QVERIFY(w.OpenImage(img));
        CZor* before = w.zor();
        fx_->answers = {QString()};
        QVERIFY(!w.OpenImage());
        QCOMPARE(w.zor(), before);
        QCOMPARE(w.windowTitle(), img);
        QVERIFY(rec().messages.empty());
    }

    void newCaseStartsReset()
    {
        const QString img = writeTestImage(fx_->file("new.bmp"), 860, 200);
        MainForm w;
        QVERIFY(w.OpenImage(img));
        CZor& z = *w.zor();
        QCOMPARE(z.ScaleFactor, 2.0); // 860 px over 430 mm
        QVERIFY(z.Visible);
        QVERIFY(!z.DatFlag);
        QVERIFY(!z.head.Valid);
        QVERIFY(z.head.points.empty());
        QVERIFY(!z.LinesVisible);
        for (const char* item : {"m_Shoulder", "m_CMarker", "m_LTLines_Rotate_30",
                                 "m_LTLines_Rotate_45", "m_LTLines_Rotate_60", "m_8Points"})
            QVERIFY2(!w.action(item)->isEnabled(), item);
        QVERIFY(w.action("m_Head")->isEnabled());
        QCOMPARE(z.surface(), static_cast<Surface*>(w.PicBox()));
    }

    void failedLoadKeepsThePreviousCase_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("reason");
        QTest::newRow("not an image") << "broken.jpg" << QByteArray("no picture here") << "";
        QTest::newRow("missing file") << "gone.bmp" << QByteArray() << "";
        QTest::newRow("no extension") << "noext" << QByteArray("x") << "extension";
    }
    void failedLoadKeepsThePreviousCase()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, content);
        QFETCH(QString, reason);
        const QString good = writeTestImage(fx_->file("good.bmp"), 40, 30);
        const QString bad = fx_->file(name);
        if (!content.isEmpty()) {
            QFile f(bad);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(content);
        }
        auto w = openWindow(good);
        QVERIFY(w);
        CZor* z = w->zor();
        z->Datum = "20200101";
        z->head.addPoint(3, 4);

        fx_->answers = {bad};
        QVERIFY(!w->OpenImage());
        QCOMPARE(rec().messages.size(), size_t(1));
        QCOMPARE(rec().messages[0].caption, std::string("Error"));
        QCOMPARE(rec().messages[0].icon, MessageIcon::Critical);
        const QString text = QString::fromStdString(rec().messages[0].text);
        QVERIFY2(text.startsWith("load Error: ") && text.size() > 12, qPrintable(text));
        QVERIFY2(text.contains(reason), qPrintable(text));

        QCOMPARE(w->zor(), z);
        QCOMPARE(z->Datum, std::string("20200101"));
        QCOMPARE(z->head.points.size(), size_t(1));
        QCOMPARE(w->windowTitle(), good);
        QCOMPARE(w->landmarkFile(), fx_->file("good.bit"));
        QCOMPARE(w->Bitmap().W(), int16_t(40));
        QCOMPARE(rgbAt(*w->PicBox(), 2, 1), QRgb(testGrey(2, 1) * 0x010101));
        // The path is remembered all the same.
        QVERIFY(fx_->settingsText().contains("Path=" + bad));
    }

    void oversizedImageIsRefused()
    {
        const QString good = writeTestImage(fx_->file("small.bmp"), 16, 16);
        const QString wide = writeTestImage(fx_->file("wide.bmp"), 32768, 2);
        MainForm w;
        QVERIFY(w.OpenImage(good));
        QVERIFY(!w.OpenImage(wide));
        QCOMPARE(rec().messages.size(), size_t(1));
        const QString text = QString::fromStdString(rec().messages[0].text);
        QVERIFY2(text.startsWith("load Error: ") && text.contains("32768 x 2") &&
                     text.contains("32767"),
                 qPrintable(text));
        QCOMPARE(w.Bitmap().W(), int16_t(16));
    }

    void landmarkFileBesideTheImage_data()
    {
        QTest::addColumn<QString>("image");
        QTest::addColumn<QString>("bit");
        QTest::newRow("plain") << "/films/case1.bmp"
                               << "/films/case1.bit";
        QTest::newRow("two dots") << "/films/case1.old.jpg"
                                  << "/films/case1.old.bit";
        QTest::newRow("dot in folder") << "/films.2024/case1"
                                       << "";
    }
    void landmarkFileBesideTheImage()
    {
        QFETCH(QString, image);
        QFETCH(QString, bit);
        QCOMPARE(MainForm::landmarkFileFor(image), bit);
    }

    void writeDataEndToEnd()
    {
        const QString img = writeTestImage(fx_->file("hip.bmp"), 400, 600);
        FixedClock clock({2024, 2, 1});
        MainForm::setClock(&clock);
        auto w = openWindow(img);
        QVERIFY(w);
        placeCase(*w->zor());
        w->action("m_Write_dat")->trigger();
        MainForm::setClock(nullptr);

        QVERIFY(fx_->patientFlags.empty());
        for (const auto& m : rec().messages)
            QVERIFY2(m.caption != "Zor Error", m.text.c_str());
        QFile report(fx_->file("study.zor"));
        QVERIFY(report.open(QIODevice::ReadOnly));
        const QByteArray record = report.readAll();
        QVERIFY2(record.contains("M\xfc"
                                 "ller"),
                 record.constData()); // Windows-1252
        QVERIFY(QFile::exists(fx_->file("hip.bit")));

        // Reopening shows the same landmarks and patient.
        auto again = openWindow(img);
        QVERIFY(again);
        const CZor& a = *w->zor();
        const CZor& b = *again->zor();
        QVERIFY(b.DatFlag);
        QCOMPARE(b.Patient.Famname, a.Patient.Famname);
        QCOMPARE(b.Datum, a.Datum);
        QVERIFY(b.head.Valid);
        QVERIFY(std::abs(b.head.M.x - a.head.M.x) < 1e-6);
        QVERIFY(std::abs(b.head.R - a.head.R) < 1e-6);
        QVERIFY(std::abs(b.AxisLine.P0.x - a.AxisLine.P0.x) < 1e-6);
        QVERIFY(b.PointsValid);
        for (int16_t i = 0; i < 8; ++i) {
            QVERIFY(std::abs(b.points(i).x - a.points(i).x) < 1e-6);
            QVERIFY(std::abs(b.points(i).y - a.points(i).y) < 1e-6);
        }
        QCOMPARE(DefaultPatient().Vorname, std::string("Anna"));
    }

    void writeDataWithMissingPatientDataOpensTheDialog()
    {
        const QString img = writeTestImage(fx_->file("p.bmp"), 400, 600);
        auto w = openWindow(img);
        QVERIFY(w);
        placeCase(*w->zor());
        w->zor()->Datum.clear();
        w->zor()->Patient.Vorname.clear();
        w->action("m_Write_dat")->trigger();
        QCOMPARE(fx_->patientFlags, std::vector<int>{5});
        QVERIFY(!QFile::exists(fx_->file("study.zor")));
        QVERIFY(!QFile::exists(fx_->file("p.bit")));
    }

    void writeDataReportsAnUnwritableLandmarkFile()
    {
        const QString img = writeTestImage(fx_->file("locked.bmp"), 400, 600);
        QVERIFY(QDir(fx_->data.path()).mkdir("locked.bit")); // a folder where the file goes
        auto w = openWindow(img);
        QVERIFY(w);
        placeCase(*w->zor());
        w->action("m_Write_dat")->trigger();
        bool reported = false;
        for (const auto& m : rec().messages)
            reported = reported ||
                       (m.caption == "Zor Error" && m.text.find("locked.bit") != std::string::npos);
        QVERIFY(reported);
    }

    void reloadLandmarksReadsTheFileAgain()
    {
        const QString img = writeTestImage(fx_->file("r.bmp"), 400, 600);
        auto w = openWindow(img);
        QVERIFY(w);
        placeCase(*w->zor());
        w->action("m_Write_dat")->trigger();
        QVERIFY(QFile::exists(fx_->file("r.bit")));
        w->zor()->Shoulder.change(1, 1);
        w->action("m_Load_bin")->trigger();
        QVERIFY(std::abs(w->zor()->Shoulder.x - 205) < 1e-6);
    }

    void exitAnsweredNoKeepsTheWindows_data()
    {
        QTest::addColumn<bool>("answer");
        QTest::newRow("no") << false;
        QTest::newRow("yes") << true;
    }
    void exitAnsweredNoKeepsTheWindows()
    {
        QFETCH(bool, answer);
        const QString img = writeTestImage(fx_->file("e.bmp"), 20, 20);
        auto w1 = openWindow(img);
        auto w2 = openWindow(img);
        QVERIFY(w1 && w2);
        fx_->messages.recorder.answers = {answer};
        w1->action("m_Exit")->trigger();
        QCOMPARE(rec().questions.size(), size_t(1));
        QCOMPARE(rec().questions[0].text,
                 std::string("Are you sure? Not saved results will be lost!"));
        QCOMPARE(w1->isVisible(), !answer);
        QCOMPARE(w2->isVisible(), !answer);
    }

    void newWindowIsAnIndependentCase()
    {
        const QString a = writeTestImage(fx_->file("one.bmp"), 30, 20);
        const QString b = writeTestImage(fx_->file("two.bmp"), 50, 40);
        auto w = openWindow(a);
        QVERIFY(w);
        const int before = fx_->splashes;
        fx_->answers = {b};
        w->action("m_New")->trigger();
        MainForm* other = nullptr;
        for (QWidget* top : QApplication::topLevelWidgets())
            if (auto* f = qobject_cast<MainForm*>(top); f && f != w.get() && f->isVisible())
                other = f;
        QVERIFY(other);
        QCOMPARE(other->windowTitle(), b);
        QVERIFY(other->zor() != w->zor());
        QCOMPARE(w->windowTitle(), a);
        QVERIFY(other->testAttribute(Qt::WA_DeleteOnClose));
        QCOMPARE(fx_->splashes, before + 1); // the hook decides; it is asked every start
        QPointer<MainForm> guard(other);
        other->close();
        QTRY_VERIFY(guard.isNull());

        // Cancelled: no window stays.
        fx_->answers = {QString()};
        const int windows = int(QApplication::topLevelWidgets().size());
        w->action("m_New")->trigger();
        QApplication::processEvents();
        int visible = 0;
        for (QWidget* top : QApplication::topLevelWidgets())
            visible += qobject_cast<MainForm*>(top) && top->isVisible();
        QCOMPARE(visible, 1);
        Q_UNUSED(windows);
    }

    void imageCommandsChangeWhatIsShown()
    {
        const QString img = writeTestImage(fx_->file("i.bmp"), 64, 64);
        auto w = openWindow(img);
        QVERIFY(w);
        PictureView& v = *w->PicBox();
        const QRgb plain = rgbAt(v, 10, 10);
        QCOMPARE(plain, QRgb(testGrey(10, 10) * 0x010101));
        w->action("m_Invert")->trigger();
        QCOMPARE(rgbAt(v, 10, 10), QRgb((255 - testGrey(10, 10)) * 0x010101));
        QVERIFY(!QApplication::overrideCursor());
        w->action("m_ResetColors")->trigger();
        QCOMPARE(rgbAt(v, 10, 10), plain);
        // The pattern wraps from 255 to 0 along its diagonals; sharpening
        // shows there.
        const QImage before = v.backing().copy();
        w->action("m_filter2")->trigger();
        QVERIFY(w->Bitmap().canUndo());
        QVERIFY(v.backing() != before);
        w->action("m_undo")->trigger();
        QCOMPARE(v.backing(), before);
    }
};

QTEST_MAIN(TestMainForm)
#include "tst_mainform.moc"
