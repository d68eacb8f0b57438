#include "ui/page_printer.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>

#include "ui/fonts.h"

namespace kvqt::ui {
namespace {

// Text starts this many characters from the left edge of the printable area.
constexpr int kLeftColumn = 4;

}  // namespace

bool PrintWithDialog(QWidget* parent, const QString& documentName, const ComposePages& compose) {
  QPrinter printer;
  QPrintDialog dialog(&printer, parent);
  if (dialog.exec() != QDialog::Accepted) return false;
  PrintOn(printer, documentName, compose);
  return true;
}

int PrintOn(QPrinter& printer, const QString& documentName, const ComposePages& compose) {
  printer.setDocName(documentName);
  const QFont font = PrintFont();
  const QFontMetricsF metrics(font, &printer);
  const qreal charWidth =
      metrics.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz")) / 52.0;
  const qreal lineHeight = metrics.height();
  if (lineHeight <= 0) return 0;
  const int linesPerPage = static_cast<int>(printer.height() / lineHeight);

  const std::vector<PrintPage> pages = compose(linesPerPage);
  if (pages.empty()) return 0;
  QPainter painter;
  if (!painter.begin(&printer)) return 0;
  painter.setFont(font);
  for (std::size_t p = 0; p < pages.size(); ++p) {
    if (p > 0 && !printer.newPage()) break;
    const PrintPage& page = pages[p];
    for (std::size_t line = 0; line < page.size(); ++line) {
      if (page[line].empty()) continue;
      const QPointF at(kLeftColumn * charWidth, static_cast<qreal>(line) * lineHeight + metrics.ascent());
      painter.drawText(at, QString::fromLatin1(page[line].data(), static_cast<qsizetype>(page[line].size())));
    }
  }
  painter.end();
  return static_cast<int>(pages.size());
}

}  // namespace kvqt::ui
