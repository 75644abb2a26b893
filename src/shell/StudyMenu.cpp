#include "shell/StudyMenu.h"

#include "model/CZor.h"
#include "platform/UserMessages.h"
#include "report/FilmReport.h"
#include "shell/FileDialogs.h"
#include "shell/FilmList.h"
#include "shell/HardCopy.h"
#include "shell/MainForm.h"
#include "shell/StudyWindow.h"
#include "shell/WaitCursor.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QPainter>
#include <QPointer>
#include <QPrinter>

namespace StudyMenu {

void install(MainForm& main)
{
    QMenu* file = main.menu("m_File");
    QAction* exit = main.action("m_Exit");
    if (file == nullptr)
        return;
    auto add = [&](const char* name, const QString& caption, const QKeySequence& key,
                   void (*handler)(MainForm&)) {
        auto* a = new QAction(caption, &main);
        a->setObjectName(name);
        a->setShortcut(key);
        file->insertAction(exit, a);
        QObject::connect(a, &QAction::triggered, &main, [&main, handler] { handler(main); });
        return a;
    };
    QAction* series = add("m_Series", QObject::tr("&Series ..."),
                          QKeySequence(Qt::CTRL | Qt::Key_R), [](MainForm& m) { openSeries(m); });
    // The film list offers the series of its folder too.
    if (auto* list = main.findChild<FilmList*>()) {
        list->setContextMenuPolicy(Qt::ActionsContextMenu);
        list->addAction(series);
    }
    add("m_FilmReport", QObject::tr("&Film Report ..."), QKeySequence(), filmReport);
}

StudyWindow* openSeries(MainForm& main)
{
    QString folder;
    if (!main.imagePath().isEmpty())
        folder = QFileInfo(main.imagePath()).absolutePath();
    else
        folder = FileDialogs::folder(&main, QObject::tr("Folder of the study"), QDir::homePath());
    if (folder.isEmpty())
        return nullptr;
    // Films open in this window while it lives, then in a new one.
    QPointer<MainForm> owner(&main);
    return StudyWindow::showFor(folder, [owner, services = main.services()](const QString& image) {
        if (owner) {
            owner->OpenImage(image);
            owner->show();
            owner->raise();
            owner->activateWindow();
        } else {
            MainForm::startNewWindow(image, services);
        }
    });
}

FilmReport::Film filmOf(MainForm& main)
{
    FilmReport::Film film;
    if (main.zor() != nullptr)
        film.zor = *main.zor();
    film.zor.Visible = true;
    film.image = FilmReport::shownImage(main.Bitmap());
    film.imagePath = main.imagePath();
    const Clock* clock = main.services().clock;
    film.printed = clock != nullptr ? clock->today() : SystemClock().today();
    film.color1 = MainForm::drawColor1;
    film.color2 = MainForm::drawColor2;
    return film;
}

std::string print(const FilmReport::Film& film)
{
    const std::string name = HardCopy::GetPrinterName();
    if (name.empty())
        return HardCopy::NoPrinter;
    QPrinter printer(QPrinter::HighResolution);
    printer.setPrinterName(QString::fromStdString(name));
    if (!printer.isValid())
        return HardCopy::PrintFailed;
    printer.setDocName(QStringLiteral("Film report"));
    printer.setFullPage(true);
    QPainter painter;
    if (!painter.begin(&printer))
        return HardCopy::PrintFailed;
    FilmReport::paint(painter, printer, film);
    return painter.end() ? std::string() : std::string(HardCopy::PrintFailed);
}

void filmReport(MainForm& main)
{
    if (main.zor() == nullptr)
        return;
    const QFileInfo image(main.imagePath());
    const QString path = FileDialogs::saveFile(
        &main, QObject::tr("Film Report"),
        image.absoluteDir().filePath(image.completeBaseName() + "-report.pdf"),
        QObject::tr("PDF (*.pdf)"));
    if (path.isEmpty())
        return;
    const FilmReport::Film film = filmOf(main);
    std::string error;
    {
        WaitCursor hourglass;
        if (!FilmReport::writePdf(path.toStdString(), film, error)) {
            userMessages().showMessage("Error", error, MessageIcon::Critical);
            return;
        }
    }
    if (HardCopy::GetPrinterName().empty() ||
        !userMessages().askYesNo("Film Report", "Report written to " + path.toStdString() +
                                                    "\nPrint it on the default printer?"))
        return;
    const std::string printed = print(film);
    if (!printed.empty())
        userMessages().showMessage("Error", printed, MessageIcon::Critical);
}

} // namespace StudyMenu
