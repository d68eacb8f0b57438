// Printing composed pages: the print dialog, then every page's lines drawn in
// the print font from column 4.
#pragma once

#include <QString>
#include <functional>
#include <vector>

#include "maintenance/print_pages.h"

class QPrinter;
class QWidget;

namespace kvqt::ui {

// Composes the pages for a page of that many lines.
using ComposePages = std::function<std::vector<PrintPage>(int linesPerPage)>;

// Shows the print dialog; on OK prints the document. False when cancelled.
bool PrintWithDialog(QWidget* parent, const QString& documentName, const ComposePages& compose);

// Prints on a printer already set up (tests print to a PDF file). Returns the
// number of pages printed.
int PrintOn(QPrinter& printer, const QString& documentName, const ComposePages& compose);

}  // namespace kvqt::ui
