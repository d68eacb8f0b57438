#include "maintenance/print_pages.h"

#include <algorithm>
#include <cstdio>

#include "app/core/messages.h"
#include "app/model/directory.h"
#include "app/model/format.h"
#include "app/model/list.h"

namespace kvqt {
namespace {

constexpr int kSymbolWidth = 8;
constexpr int kNameWidth = 50;
// Blank lines above the header; the footer's rule and date line stand five
// and four lines above the page end, so three blank lines stay below them.
constexpr int kTopMargin = 3;
constexpr int kFooterRuleFromEnd = 5;

// The text cut to `width` bytes and padded with blanks to it.
std::string Field(const std::string& text, int width) {
  std::string field = text.substr(0, static_cast<std::size_t>(width));
  field.resize(static_cast<std::size_t>(width), ' ');
  return field;
}

std::string DayMonthYear(Date date) {
  char text[32];
  std::snprintf(text, sizeof text, "%02d/%02d/%04d", date.day(), date.month(), date.year());
  return text;
}

std::string HourMinute(Time time) {
  char text[16];
  std::snprintf(text, sizeof text, " %02d:%02d", time.isNull() ? 0 : time.hour(), time.isNull() ? 0 : time.minute());
  return text;
}

std::string InstrumentColumns(const Datafile& datafile) {
  return Field(datafile.symbol(), kSymbolWidth) + "  " + Field(datafile.name(), kNameWidth);
}

std::string DirectoryLine(const Datafile& datafile, bool intraday) {
  std::string line = InstrumentColumns(datafile) + "  " + DayMonthYear(datafile.firstDate());
  if (intraday) line += HourMinute(datafile.firstTime());
  line += "  " + DayMonthYear(datafile.lastDate());
  if (intraday) line += HourMinute(datafile.lastTime());
  return line;
}

std::string ListLine(const Datafile& datafile) {
  return "    " + InstrumentColumns(datafile) + "  " + DayMonthYear(datafile.firstDate()) + "  " +
         DayMonthYear(datafile.lastDate());
}

// Lays the body lines out on pages, each starting with the header and ending
// with the footer; an empty body still gives one page.
std::vector<PrintPage> Paginate(const std::vector<std::string>& header, const std::vector<std::string>& body,
                                int linesPerPage, int width, const DateTime& printedAt) {
  // At least one body line on every page, however small the paper.
  const int headerLines = static_cast<int>(header.size());
  const int pageLines = std::max(linesPerPage, headerLines + 1 + kFooterRuleFromEnd);
  const int bodyLines = pageLines - kFooterRuleFromEnd - headerLines;
  const std::string rule(static_cast<std::size_t>(width), '-');
  char when[64];
  std::snprintf(when, sizeof when, "%d/%d/%d %02d:%02d:%02d", printedAt.day, printedAt.month, printedAt.year,
                printedAt.hour, printedAt.minute, printedAt.second);

  std::vector<PrintPage> pages;
  std::size_t next = 0;
  do {
    PrintPage page = header;
    for (int i = 0; i < bodyLines; ++i) page.push_back(next < body.size() ? body[next++] : std::string());
    page.push_back(rule);
    std::string number = "Page: " + std::to_string(pages.size() + 1);
    std::string footer = when;
    std::size_t gap = footer.size() + number.size() < static_cast<std::size_t>(width)
                          ? static_cast<std::size_t>(width) - footer.size() - number.size()
                          : 1;
    page.push_back(footer + std::string(gap, ' ') + number);
    pages.push_back(std::move(page));
  } while (next < body.size());
  return pages;
}

std::vector<std::string> TopMargin() { return std::vector<std::string>(kTopMargin); }

// What a download of the list takes from the directory.
bool Included(const Directory& directory, const Datafile& datafile) {
  switch (directory.selectionMode()) {
    case Directory::kSelectNone:
      return false;
    case Directory::kSelectAll:
      return true;
    default:
      return datafile.selected();
  }
}

}  // namespace

int PrintLineWidth(const Format& format) { return format.intraday() ? 100 : 88; }

std::vector<PrintPage> ComposeDirectoryPrint(const Format& format, const Directory& directory, int linesPerPage,
                                             const DateTime& printedAt) {
  const int width = PrintLineWidth(format);
  const bool intraday = format.intraday();
  const std::string rule(static_cast<std::size_t>(width), '-');
  const int dateWidth = intraday ? 16 : 10;

  std::vector<std::string> header = TopMargin();
  header.push_back(std::string(kProgramTitle) + " - Directory");
  header.push_back("");
  header.push_back("Format   : " + format.name());
  header.push_back("Directory: " + directory.name());
  header.push_back(rule);
  header.push_back(Field("symbol", kSymbolWidth) + "  " + Field("name", kNameWidth) + "  " +
                   Field("from", dateWidth) + "  " + Field("to", dateWidth));
  header.push_back(rule);

  std::vector<std::string> body;
  for (int i = 0; i < directory.size(); ++i) body.push_back(DirectoryLine(*directory.at(i), intraday));
  return Paginate(header, body, linesPerPage, width, printedAt);
}

std::vector<PrintPage> ComposeListPrint(const Format& format, const List& list, int linesPerPage,
                                        const DateTime& printedAt) {
  std::vector<std::string> header = TopMargin();
  header.push_back(std::string(kProgramTitle) + " - List (selected instruments only)");
  header.push_back("Format: " + format.name());
  header.push_back("List  : " + list.name());
  header.push_back("");

  std::vector<std::string> body;
  for (int d = 0; d < list.directoryCount(); ++d) {
    const Directory& directory = *list.directoryAt(d);
    body.push_back("Directory: " + directory.name());
    for (int i = 0; i < directory.size(); ++i) {
      const Datafile& datafile = *directory.at(i);
      if (Included(directory, datafile)) body.push_back(ListLine(datafile));
    }
  }
  return Paginate(header, body, linesPerPage, PrintLineWidth(format), printedAt);
}

}  // namespace kvqt
