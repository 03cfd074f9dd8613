#pragma once
// Printing formatted text page by page, with the lines broken as they will
// stand on paper: the document is laid out for the printer's own resolution
// and the width between the margins.

#include <QPrinter>
#include <QTextDocument>

#include <memory>
#include <optional>

namespace platform::desktop {

// Margins in twips (1/1440 inch), measured from the edge of the paper, not
// from the printer's printable area.
struct PageMargins {
    int left = 720;
    int top = 720;
    int right = 720;
    int bottom = 720;
};

// The system's default printer; null when there is none.
std::unique_ptr<QPrinter> DefaultPrinter();

// A printer that writes a PDF file instead (tests, "print to file").
std::unique_ptr<QPrinter> PdfPrinter(const QString& path);

// Prints the document as one job; an empty document gives one blank page,
// and a text that ends at a page's end no empty page after it. A PDF file
// gets mode 0600 (the user's alone). The number of pages printed, or nullopt
// when the job could not be started or the margins leave no room on the
// paper (and no new file is left).
std::optional<int> PrintRichText(const QTextDocument& document, QPrinter& printer,
                                 const PageMargins& margins);

}  // namespace platform::desktop
