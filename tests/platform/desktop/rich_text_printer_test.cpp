#include "platform/desktop/rich_text_printer.h"

#include "tests/platform/desktop/desktop_fixture.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>

#include <gtest/gtest.h>

namespace platform::desktop {
namespace {

// Page objects of a PDF file ("/Type /Page", not the "/Pages" tree).
int PdfPageCount(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return -1;
    const QString text = QString::fromLatin1(file.readAll());
    return static_cast<int>(text.count(QRegularExpression(QStringLiteral("/Type\\s*/Page(?![a-zA-Z])"))));
}

QString Paragraphs(int count) {
    QString html;
    for (int i = 0; i < count; ++i)
        html += QStringLiteral("<p><b>Line %1</b> of a message that is printed across pages.</p>").arg(i);
    return html;
}

struct PrintCase {
    const char* name;
    int paragraphs;
    int minPages;
    int maxPages;
};

void PrintTo(const PrintCase& c, std::ostream* os) { *os << c.name; }

class PrintRichTextTest : public ::testing::TestWithParam<PrintCase> {};

TEST_P(PrintRichTextTest, PrintsEveryPageOnceToPdf) {
    const PrintCase& c = GetParam();
    QTextDocument document;
    document.setHtml(Paragraphs(c.paragraphs));
    const QString pdf = QDir(desktop_test::Scratch()).filePath(QString::fromLatin1(c.name) + ".pdf");
    const auto printer = PdfPrinter(pdf);

    const std::optional<int> pages = PrintRichText(document, *printer, PageMargins{});

    ASSERT_TRUE(pages.has_value());
    EXPECT_GE(*pages, c.minPages);
    EXPECT_LE(*pages, c.maxPages);
    EXPECT_EQ(PdfPageCount(pdf), *pages);
}

INSTANTIATE_TEST_SUITE_P(Pages, PrintRichTextTest,
                         ::testing::Values(PrintCase{"Empty", 0, 1, 1}, PrintCase{"Short", 3, 1, 1},
                                           PrintCase{"Long", 400, 5, 40}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(PrintRichText, WiderMarginsNeedMorePagesAndLeaveTheDocumentAlone) {
    QTextDocument document;
    document.setHtml(Paragraphs(200));
    const qreal width = document.textWidth();
    const QString dir = desktop_test::Scratch();
    const auto narrow = PdfPrinter(QDir(dir).filePath("narrow.pdf"));
    const auto wide = PdfPrinter(QDir(dir).filePath("wide.pdf"));

    const std::optional<int> normal = PrintRichText(document, *narrow, PageMargins{});
    const std::optional<int> more = PrintRichText(document, *wide, PageMargins{2880, 2880, 2880, 2880});

    ASSERT_TRUE(normal && more);
    EXPECT_GT(*more, *normal);
    EXPECT_EQ(document.textWidth(), width);
}

TEST(PrintRichText, MarginsThatLeaveNoRoomAreRefused) {
    QTextDocument document;
    document.setPlainText("x");
    const QString pdf = QDir(desktop_test::Scratch()).filePath("none.pdf");
    const auto printer = PdfPrinter(pdf);
    EXPECT_FALSE(PrintRichText(document, *printer, PageMargins{9000, 720, 9000, 720}).has_value());
    EXPECT_FALSE(QFile::exists(pdf));
}

}  // namespace
}  // namespace platform::desktop
