#include "ui/page_printer.h"

#include <QPrinter>
#include <QRegularExpression>
#include <string>

#include "ui/qt_test_app.h"

namespace kvqt::ui {
namespace {

using kvqt::testing::QtTest;

class PagePrinterTest : public QtTest {};

int PdfPageCount(const std::string& bytes) {
  // Every page object is "/Type /Page"; the page tree is "/Type /Pages".
  static const QRegularExpression page(QStringLiteral("/Type\\s*/Page(?!s)"));
  return static_cast<int>(QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size())).count(page));
}

TEST_F(PagePrinterTest, PrintsEveryComposedPageToPdf) {
  QPrinter printer(QPrinter::HighResolution);
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setPageSize(QPageSize(QPageSize::A4));
  printer.setOutputFileName(QString::fromStdString(dir_.file("list.pdf")));
  int askedLines = 0;
  const int printed = PrintOn(printer, QStringLiteral("KORV Print List"), [&](int lines) {
    askedLines = lines;
    std::vector<PrintPage> pages(3, PrintPage(static_cast<std::size_t>(lines), std::string(88, 'x')));
    pages[1][0] = "Page two";
    return pages;
  });
  EXPECT_EQ(printed, 3);
  // An 8-point line on A4 paper: some 70 to 90 lines a page.
  EXPECT_GT(askedLines, 60);
  EXPECT_LT(askedLines, 100);
  ASSERT_TRUE(dir_.exists("list.pdf"));
  EXPECT_EQ(PdfPageCount(dir_.read("list.pdf")), 3);
}

TEST_F(PagePrinterTest, NothingComposedPrintsNothing) {
  QPrinter printer(QPrinter::HighResolution);
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName(QString::fromStdString(dir_.file("empty.pdf")));
  EXPECT_EQ(PrintOn(printer, QStringLiteral("KORV Print Directory"), [](int) { return std::vector<PrintPage>{}; }),
            0);
  EXPECT_FALSE(dir_.exists("empty.pdf"));
}

}  // namespace
}  // namespace kvqt::ui
