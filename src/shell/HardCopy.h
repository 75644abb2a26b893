#pragma once

#include <QImage>
#include <QRect>
#include <QSize>

#include <string>

class QWidget;

// "&hardcopy": the main window as the user sees it, in grey, on one page of
// the default printer. The menu item does
//     const std::string result = HardCopy::PrintHardcopy(this);
//     if (!result.empty()) show it with the caption "Error";
namespace HardCopy {

// Results of PrintHardcopy other than "" (printed).
inline constexpr const char* NoPrinter = "no prt found";
inline constexpr const char* CaptureFailed = "capture failed";
inline constexpr const char* PrintFailed = "print failed";

// The default printer's name; "" when there is none or the print system
// cannot be asked.
std::string GetPrinterName();

// An image of `window` as shown now (pending repaints run first): with its
// frame and title where the platform lets us grab the screen, otherwise its
// contents. A non-null image also replaces the clipboard contents. Null when
// there is no window or nothing could be grabbed; the clipboard is then left
// alone.
QImage CaptureActiveWindow(QWidget* window);

// Captures `window` and prints it on one page of the default printer: ""
// after printing, NoPrinter (nothing captured, clipboard untouched),
// CaptureFailed, or PrintFailed when the printer refuses the job.
std::string PrintHardcopy(QWidget* window);

// What goes on the page: the capture in grey (turned a quarter anticlockwise
// when a wide capture meets upright paper) and the rectangle, in device
// pixels of the full page, it is stretched into.
struct Page {
    QImage grey; // Format_Grayscale8
    QRect target;
};
// `pageSize`: the whole sheet in device pixels. A null capture or an empty
// page gives a null grey image.
Page PreparePage(const QImage& captured, const QSize& pageSize);

} // namespace HardCopy
