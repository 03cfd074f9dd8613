#include "platform/desktop/rich_text_printer.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include <QAbstractTextDocumentLayout>
#include <QFile>
#include <QPainter>
#include <QPrinterInfo>

namespace platform::desktop {
namespace {

constexpr double kTwipsPerInch = 1440.0;

// A PDF file is the user's alone before a byte of the text is in it,
// whatever the umask, as a saved message is. True when it was created here.
bool MakePrivateOutputFile(const QPrinter& printer) {
    if (printer.outputFormat() != QPrinter::PdfFormat || printer.outputFileName().isEmpty()) return false;
    const QByteArray path = QFile::encodeName(printer.outputFileName());
    const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY, 0600);
    if (fd >= 0) {
        ::close(fd);
        return true;
    }
    if (errno == EEXIST) ::chmod(path.constData(), 0600);  // the user chose to replace it
    return false;
}

}  // namespace

std::unique_ptr<QPrinter> DefaultPrinter() {
    const QPrinterInfo info = QPrinterInfo::defaultPrinter();
    if (info.isNull()) return nullptr;
    return std::make_unique<QPrinter>(info, QPrinter::HighResolution);
}

std::unique_ptr<QPrinter> PdfPrinter(const QString& path) {
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    printer->setOutputFormat(QPrinter::PdfFormat);
    printer->setOutputFileName(path);
    return printer;
}

std::optional<int> PrintRichText(const QTextDocument& document, QPrinter& printer,
                                 const PageMargins& margins) {
    // Full page: the painter's origin is the paper's corner, so the margins
    // count from the edge of the paper whatever the printer cannot reach.
    printer.setFullPage(true);
    const double dpiX = printer.logicalDpiX();
    const double dpiY = printer.logicalDpiY();
    const QRectF paper = printer.paperRect(QPrinter::DevicePixel);
    const QRectF body(margins.left * dpiX / kTwipsPerInch, margins.top * dpiY / kTwipsPerInch,
                      paper.width() - (margins.left + margins.right) * dpiX / kTwipsPerInch,
                      paper.height() - (margins.top + margins.bottom) * dpiY / kTwipsPerInch);
    if (body.width() < 1 || body.height() < 1) return std::nullopt;

    // A copy, laid out for the printer; the caller's document keeps its layout.
    const std::unique_ptr<QTextDocument> copy(document.clone());
    copy->documentLayout()->setPaintDevice(&printer);
    copy->setDocumentMargin(0);
    copy->setPageSize(body.size());
    const int pages = copy->pageCount();

    const bool created = MakePrivateOutputFile(printer);
    QPainter painter;
    if (!painter.begin(&printer)) {
        if (created) QFile::remove(printer.outputFileName());
        return std::nullopt;
    }
    for (int page = 0; page < pages; ++page) {
        if (page > 0 && !printer.newPage()) {
            painter.end();
            return std::nullopt;
        }
        const QRectF slice(0, page * body.height(), body.width(), body.height());
        painter.save();
        painter.translate(body.left(), body.top() - slice.top());
        painter.setClipRect(slice);
        QAbstractTextDocumentLayout::PaintContext context;
        context.clip = slice;
        context.palette.setColor(QPalette::Text, Qt::black);
        copy->documentLayout()->draw(&painter, context);
        painter.restore();
    }
    if (!painter.end()) return std::nullopt;
    return pages;
}

}  // namespace platform::desktop
