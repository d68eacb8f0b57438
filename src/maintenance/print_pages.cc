#include "maintenance/print_pages.h"

// Not composed yet: nothing is printed.
namespace kvqt {

int PrintLineWidth(const Format&) { return 88; }

std::vector<PrintPage> ComposeDirectoryPrint(const Format&, const Directory&, int, const DateTime&) { return {}; }

std::vector<PrintPage> ComposeListPrint(const Format&, const List&, int, const DateTime&) { return {}; }

}  // namespace kvqt
