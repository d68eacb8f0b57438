// kvqt-info dir DIR [FORMATID] and kvqt-info records DIR SYMBOL [FORMATID]: a
// chart directory as the format drivers read it.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace kvqt::info {

// The verbs' lines for kvqt-info --help.
inline constexpr const char* kDirVerbHelp =
    "  dir DIR [FORMATID]\n"
    "                 a chart directory: a first line with the format detected (found=ID, and\n"
    "                 fits=1 when the directory fits FORMATID, by default the id found), then one\n"
    "                 entry line per instrument in master order with its dates, price-record\n"
    "                 count, data-file number and fields per record\n";
inline constexpr const char* kRecordsVerbHelp =
    "  records DIR SYMBOL [FORMATID]\n"
    "                 the price records of one instrument of a chart directory, in file order\n";

// `args`: what follows the verb. 0; 1 with a one-line message on `err` when
// the directory cannot be read, its format is not recognised, or a file is
// damaged; 2 for wrong arguments.
int RunDirVerb(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
int RunRecordsVerb(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace kvqt::info
