#include "shell/HardCopy.h"

#include "image/GreyImage.h"
#include "image/PageLayout.h"

#include <QApplication>
#include <QClipboard>
#include <QGuiApplication>
#include <QPainter>
#include <QPixmap>
#include <QPrinter>
#include <QPrinterInfo>
#include <QScreen>
#include <QWidget>

#include <cstring>

#if defined(__linux__)
#include <dlfcn.h>
#endif

namespace HardCopy {

namespace {

// Grabbing the screen shows the frame and title as the user sees them, but
// only where the platform really composes windows on a screen we may read;
// elsewhere (offscreen, Wayland, a window partly off the screen) the
// window's own rendering is the faithful picture.
QImage grabFromScreen(QWidget* window)
{
    const QString platform = QGuiApplication::platformName();
    if (platform != QLatin1String("xcb") && platform != QLatin1String("windows"))
        return {};
    QScreen* screen = window->screen();
    if (screen == nullptr || !window->isVisible() || window->isMinimized() ||
        !window->isActiveWindow())
        return {};
    const QRect frame = window->frameGeometry();
    if (!screen->geometry().contains(frame))
        return {};
    const QPoint offset = frame.topLeft() - screen->geometry().topLeft();
    QImage image =
        screen->grabWindow(0, offset.x(), offset.y(), frame.width(), frame.height()).toImage();
    const QSize expected = frame.size() * screen->devicePixelRatio();
    if (image.isNull() || (image.size() != expected && image.size() != frame.size()))
        return {};
    return image;
}

// Qt hands the finished job to the print system without looking at the
// answer, so a queue that refuses jobs would look like success. Qt's print
// plugin talks to libcups on this thread; its last answer is the job's.
bool spoolerRefusedJob()
{
#if defined(__linux__)
    void* cups = dlopen("libcups.so.2", RTLD_LAZY | RTLD_NOLOAD);
    if (cups == nullptr)
        return false; // not printing through it
    using LastError = int (*)();
    const auto lastError = reinterpret_cast<LastError>(dlsym(cups, "cupsLastError"));
    const int status = lastError != nullptr ? lastError() : 0;
    dlclose(cups);
    // IPP status codes below 0x0400 are successes or informational.
    return status >= 0x0400;
#else
    return false;
#endif
}

} // namespace

std::string GetPrinterName()
{
    return QPrinterInfo::defaultPrinterName().toStdString();
}

QImage CaptureActiveWindow(QWidget* window)
{
    if (window == nullptr)
        return {};
    // Let waiting repaints and layout run so the picture is what is shown;
    // keys and clicks wait, so a second Ctrl+P cannot start a nested job.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    QImage image = grabFromScreen(window);
    if (image.isNull())
        image = window->grab().toImage();
    if (image.isNull())
        return {};
    if (QClipboard* clipboard = QGuiApplication::clipboard())
        clipboard->setImage(image);
    return image;
}

Page PreparePage(const QImage& captured, const QSize& pageSize)
{
    Page page;
    const PageLayout::PageRect box = PageLayout::printableBox(pageSize.width(), pageSize.height());
    if (captured.isNull() || box.width <= 0 || box.height <= 0)
        return page;
    const QImage bgr = captured.convertToFormat(QImage::Format_BGR888);
    const bool turn = PageLayout::turnsImage(box, bgr.width(), bgr.height());
    const GreyImage grey =
        GreyImage::fromBgr24(bgr.constBits(), bgr.width(), bgr.height(), bgr.bytesPerLine(), turn);
    if (grey.empty())
        return page;
    page.grey = QImage(grey.width(), grey.height(), QImage::Format_Grayscale8);
    for (int y = 0; y < grey.height(); ++y)
        std::memcpy(page.grey.scanLine(y), grey.row(y), static_cast<std::size_t>(grey.width()));
    const PageLayout::PageRect target = PageLayout::fitImage(box, grey.width(), grey.height());
    page.target = QRect(target.left, target.top, target.width, target.height);
    return page;
}

std::string PrintHardcopy(QWidget* window)
{
    const std::string name = GetPrinterName();
    if (name.empty())
        return NoPrinter;
    const QImage captured = CaptureActiveWindow(window);
    if (captured.isNull())
        return CaptureFailed;

    QPrinter printer(QPrinter::HighResolution);
    printer.setPrinterName(QString::fromStdString(name));
    if (!printer.isValid())
        return PrintFailed;
    printer.setDocName(QStringLiteral("Hardcopy"));
    // Coordinates from the paper's corner, so the margins are the page's.
    printer.setFullPage(true);
    printer.setColorMode(QPrinter::GrayScale);

    const QSize sheet = printer.paperRect(QPrinter::DevicePixel).toRect().size();
    const Page page = PreparePage(captured, sheet);
    if (page.grey.isNull() || page.target.isEmpty())
        return PrintFailed;

    QPainter painter;
    if (!painter.begin(&printer))
        return PrintFailed;
    // A radiograph's grey levels must survive: no JPEG on the way.
    painter.setRenderHint(QPainter::LosslessImageRendering);
    painter.drawImage(page.target, page.grey, page.grey.rect());
    if (!painter.end() || spoolerRefusedJob())
        return PrintFailed;
    return {};
}

} // namespace HardCopy
