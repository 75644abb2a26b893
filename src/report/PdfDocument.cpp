#include "report/PdfDocument.h"

#include "casefile/FileIO.h"

#include <QPageSize>

PdfDocument::PdfDocument(const QString& title) : writer_(&buffer_)
{
    buffer_.open(QIODevice::WriteOnly);
    writer_.setPageSize(QPageSize(QPageSize::A4));
    writer_.setResolution(300);
    // The reports keep their own margins.
    writer_.setPageMargins(QMarginsF(0, 0, 0, 0));
    writer_.setTitle(title);
    writer_.setCreator(QStringLiteral("zor"));
    painter_.begin(&writer_);
}

PdfDocument::~PdfDocument()
{
    if (painter_.isActive())
        painter_.end();
}

bool PdfDocument::save(const std::string& path, std::string& error)
{
    if (!painter_.isActive() || !painter_.end()) {
        error = "cannot make the PDF for " + path;
        return false;
    }
    std::string why;
    if (!FileIO::replaceWhole(path, buffer_.data().toStdString(), &why)) {
        error = "cannot write " + path + ": " + why;
        return false;
    }
    return true;
}
