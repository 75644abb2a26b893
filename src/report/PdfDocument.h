#pragma once

#include <QBuffer>
#include <QPainter>
#include <QPdfWriter>
#include <QString>

#include <string>

// An A4 PDF built in memory and written to its file whole (through a
// temporary file and a rename), so that a report never stays half-written.
class PdfDocument {
public:
    explicit PdfDocument(const QString& title);
    ~PdfDocument();
    PdfDocument(const PdfDocument&) = delete;
    PdfDocument& operator=(const PdfDocument&) = delete;

    QPainter& painter() { return painter_; }
    QPdfWriter& device() { return writer_; }
    // Ends the painting and writes the file; false with `error`.
    bool save(const std::string& path, std::string& error);

private:
    QBuffer buffer_;
    QPdfWriter writer_;
    QPainter painter_;
};
