#include "../support/RecordingMessages.h"
#include "casefile/DefaultPatient.h"
#include "model/CZor.h"
#include "shell/DataDialog.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

#include <vector>

namespace {

const QColor highlight(255, 192, 255);

const std::vector<DataField> allFields = {DataField::Datum, DataField::Famname, DataField::Vorname,
                                          DataField::Code,  DataField::Head,    DataField::DatFile};

bool isHighlighted(const QLineEdit* box)
{
    return box->palette().color(QPalette::Base) == highlight;
}

// Shows the dialog and waits until it is the active window, as over a main
// window.
bool showActive(DataDialog& dialog)
{
    dialog.show();
    dialog.activateWindow();
    return QTest::qWaitForWindowActive(&dialog);
}

} // namespace

class TestDataDialog : public QObject {
    Q_OBJECT

private slots:
    void init() { DefaultPatient() = CPatient{}; }

    void sixLabelledBoxesTopToBottom();
    void highlightsAndFocus_data();
    void highlightsAndFocus();
    void fillsFromTheCaseOrTheLastPatient_data();
    void fillsFromTheCaseOrTheLastPatient();
    void rejectedDateKeepsItOpen_data();
    void rejectedDateKeepsItOpen();
    void acceptedCloseStoresTheBoxes_data();
    void acceptedCloseStoresTheBoxes();
};

void TestDataDialog::sixLabelledBoxesTopToBottom()
{
    CZor zor;
    DataDialog dialog(zor, 0);
    QCOMPARE(dialog.windowTitle(), QString("Patient's Data"));
    QVERIFY(dialog.isModal());
    const QStringList labels = {"X-Ray Date (yyyymmdd)", "Name",     "First Name", "Study - ID",
                                "Head Diameter",         "Data File"};
    dialog.show();
    int lastY = -1;
    for (int i = 0; i < 6; ++i) {
        QLineEdit* box = dialog.box(allFields[size_t(i)]);
        QVERIFY(box);
        QVERIFY(box->y() > lastY);
        lastY = box->y();
        QLabel* label = nullptr;
        for (QLabel* l : dialog.findChildren<QLabel*>())
            if (l->buddy() == box)
                label = l;
        QVERIFY(label);
        QCOMPARE(label->text(), labels[i]);
    }
    QCOMPARE(dialog.E_Datum()->objectName(), QString("E_Datum"));
    QCOMPARE(dialog.E_DatFile()->objectName(), QString("E_DatFile"));
    // No buttons: it is closed by its close box.
    QVERIFY(dialog.findChildren<QAbstractButton*>().isEmpty());
}

void TestDataDialog::highlightsAndFocus_data()
{
    QTest::addColumn<int>("redFlag");
    QTest::addColumn<QList<int>>("highlighted"); // indexes into allFields
    QTest::addColumn<int>("focused");            // -1: no target
    QTest::newRow("nothing") << 0 << QList<int>{} << -1;
    QTest::newRow("date, name, data file") << (1 + 2 + 256) << QList<int>{0, 1, 5} << 0;
    QTest::newRow("write data: date, first name") << 5 << QList<int>{0, 2} << 0;
    QTest::newRow("head diameter from the analysis") << 32 << QList<int>{4} << 4;
    QTest::newRow("first name and data file") << (4 + 256) << QList<int>{2, 5} << 2;
    QTest::newRow("study id") << 8 << QList<int>{3} << 3;
    QTest::newRow("all") << (1 + 2 + 4 + 8 + 32 + 256) << QList<int>{0, 1, 2, 3, 4, 5} << 0;
}

void TestDataDialog::highlightsAndFocus()
{
    QFETCH(int, redFlag);
    QFETCH(QList<int>, highlighted);
    QFETCH(int, focused);
    CZor zor;
    DataDialog dialog(zor, redFlag);
    QCOMPARE(dialog.RedFlag(), redFlag);
    for (int i = 0; i < 6; ++i)
        QCOMPARE(isHighlighted(dialog.box(allFields[size_t(i)])), highlighted.contains(i));
    QLineEdit* target = focused < 0 ? nullptr : dialog.box(allFields[size_t(focused)]);
    QCOMPARE(dialog.focusTarget(), target);

    QVERIFY(showActive(dialog));
    if (target)
        QCOMPARE(QApplication::focusWidget(), target);
    // The target is used once.
    QVERIFY(!dialog.focusTarget());
    dialog.close();
}

void TestDataDialog::fillsFromTheCaseOrTheLastPatient_data()
{
    QTest::addColumn<bool>("datFlag");
    QTest::newRow("case read from its landmark file") << true;
    QTest::newRow("new case: the previous patient") << false;
}

void TestDataDialog::fillsFromTheCaseOrTheLastPatient()
{
    QFETCH(bool, datFlag);
    DefaultPatient() = CPatient{"Müller", "Jürgen", "S-7", 11.0, "old-study"};
    CZor zor;
    zor.DatFlag = datFlag;
    zor.Datum = "20030105";
    zor.Patient = CPatient{"Sample", "Ann", "S-9", 14.0, "study"};
    DataDialog dialog(zor, 0);
    const CPatient& shown = datFlag ? zor.Patient : DefaultPatient();
    QCOMPARE(dialog.E_Datum()->text(), QString("20030105"));
    QCOMPARE(dialog.E_Famname()->text(), QString::fromStdString(shown.Famname));
    QCOMPARE(dialog.E_Vorname()->text(), QString::fromStdString(shown.Vorname));
    QCOMPARE(dialog.E_Code()->text(), QString::fromStdString(shown.Code));
    QCOMPARE(dialog.E_Head()->text(), datFlag ? QString("28") : QString("22"));
    QCOMPARE(dialog.E_DatFile()->text(), QString::fromStdString(shown.DatFile));
    QVERIFY(zor.DatFlag);
}

void TestDataDialog::rejectedDateKeepsItOpen_data()
{
    QTest::addColumn<QString>("date");
    QTest::addColumn<bool>("byEscape");
    QTest::newRow("7 characters") << "2003021" << false;
    QTest::newRow("month 13") << "20031305" << false;
    QTest::newRow("letters for the month") << "2003ab05" << false;
    QTest::newRow("day 32") << "20030132" << false;
    QTest::newRow("Escape goes the same way") << "20031305" << true;
}

void TestDataDialog::rejectedDateKeepsItOpen()
{
    QFETCH(QString, date);
    QFETCH(bool, byEscape);
    ScopedMessages messages;
    CZor zor;
    zor.Datum = "20010101";
    zor.Patient.Famname = "Before";
    DataDialog dialog(zor, 0);
    QVERIFY(showActive(dialog));
    dialog.E_Datum()->setText(date);
    dialog.E_Famname()->setText("Typed");
    if (byEscape)
        QTest::keyClick(&dialog, Qt::Key_Escape);
    else
        QVERIFY(!dialog.close());

    QVERIFY(dialog.isVisible());
    QCOMPARE(messages.recorder.messages.size(), size_t(1));
    const auto& m = messages.recorder.messages.front();
    QCOMPARE(m.caption, std::string("Date Format Error"));
    QCOMPARE(m.text, std::string("invalid Date Format!\nuse 'yyyymmdd'"));
    QCOMPARE(m.icon, MessageIcon::Critical);
    QVERIFY(dialog.E_Datum()->text().isEmpty());
    QCOMPARE(QApplication::focusWidget(), dialog.E_Datum());
    // The model's date is empty until the dialog closes; nothing is stored.
    QVERIFY(zor.Datum.empty());
    QCOMPARE(zor.Patient.Famname, std::string("Before"));
    QVERIFY(DefaultPatient().Famname.empty());

    // Corrected, it closes.
    dialog.E_Datum()->setText("20031105");
    QVERIFY(dialog.close());
    QVERIFY(!dialog.isVisible());
    QCOMPARE(zor.Datum, std::string("20031105"));
    QCOMPARE(zor.Patient.Famname, std::string("Typed"));
}

void TestDataDialog::acceptedCloseStoresTheBoxes_data()
{
    QTest::addColumn<QString>("date");
    QTest::addColumn<QString>("head");
    QTest::addColumn<double>("headTR");
    QTest::newRow("29 February of any year") << "20030229"
                                             << "28" << 14.0;
    QTest::newRow("empty date") << ""
                                << "32" << 16.0;
    QTest::newRow("head no number") << "20031105"
                                    << "big" << 0.0;
}

void TestDataDialog::acceptedCloseStoresTheBoxes()
{
    QFETCH(QString, date);
    QFETCH(QString, head);
    QFETCH(double, headTR);
    ScopedMessages messages;
    CZor zor;
    DataDialog dialog(zor, 1);
    dialog.show();
    dialog.E_Datum()->setText(date);
    dialog.E_Famname()->setText(" Müller ");
    dialog.E_Vorname()->setText("Anna");
    dialog.E_Code()->setText("S-1");
    dialog.E_Head()->setText(head);
    dialog.E_DatFile()->setText("study");
    QVERIFY(dialog.close());
    QVERIFY(messages.recorder.messages.empty());
    QCOMPARE(QString::fromStdString(zor.Datum), date);
    for (const CPatient* p : {&zor.Patient, &DefaultPatient()}) {
        QCOMPARE(p->Famname, std::string(" Müller ")); // as typed, untrimmed
        QCOMPARE(p->Vorname, std::string("Anna"));
        QCOMPARE(p->Code, std::string("S-1"));
        QCOMPARE(p->HeadTR, headTR);
        QCOMPARE(p->DatFile, std::string("study"));
    }
}

QTEST_MAIN(TestDataDialog)
#include "tst_datadialog.moc"
