#include "formats/file_names.h"

#include <cstdio>

#include "app/core/messages.h"
#include "formats/driver_table.h"

namespace kvqt {
namespace {

// A symbol comes from the user's masters and from the download service: it
// names a file in the directory only when it cannot lead out of it.
bool PlainNamePart(const std::string& text) {
  return !text.empty() && text != "." && text != ".." && text.find_first_of("/\\") == std::string::npos;
}

bool NamesAFile(const DatafileEntry& entry, int formatId) {
  switch (formatId) {
    case 3:
    case 4:
    case 20:
    case 16:
      return true;  // numbered or fixed names
    case 0:
    case 8:
      return PlainNamePart(entry.symbol) && entry.fileLetter != '/' && entry.fileLetter != '\\';
    case 1:
      return PlainNamePart(entry.symbol) && entry.period != '/' && entry.period != '\\';
    default:
      return PlainNamePart(entry.symbol);
  }
}

}  // namespace

int BuildFileName(const DatafileEntry& entry, std::string& out, int formatId, const std::string& directory) {
  out.clear();
  if (!IsValidFormatId(formatId)) return -1;
  if (directory.empty()) {
    message("build_filename: Illegal directory");
    return -1;
  }
  if (!NamesAFile(entry, formatId)) return -1;
  const std::string& sym = entry.symbol;
  char buffer[64];
  switch (formatId) {
    case 0:
      std::snprintf(buffer, sizeof buffer, ".d%c%d", entry.fileLetter, entry.fields & 0xFF);
      out = directory + sym + buffer;
      return 0;
    case 8:
      std::snprintf(buffer, sizeof buffer, ".d%c%X", entry.fileLetter, static_cast<unsigned>(entry.fields & 0xFF));
      out = directory + sym + buffer;
      return 0;
    case 1:
      std::snprintf(buffer, sizeof buffer, ".mm%c", entry.period);
      out = directory + sym + buffer;
      return 0;
    case 3:
    case 4:
    case 20:
      std::snprintf(buffer, sizeof buffer, "f%d%s", static_cast<int>(entry.fileNumber),
                    entry.fileNumber < 256 ? ".DAT" : ".MWD");
      out = directory + buffer;
      return 0;
    case 5:
    case 9:
    case 10:
    case 11:
    case 13:
    case 14:
    case 15:
    case 21:
      out = directory + sym + ".prn";
      return 0;
    case 17:
      out = directory + sym + ".asc";
      return 0;
    case 22:
      out = directory + sym + ".kbt";
      return 0;
    case 6:
      out = directory + sym + ".kbf";
      return 0;
    case 7:
      out = directory + sym + ".hdf";
      return 0;
    case 16:
      out = directory + "sksdat.o2k";
      return 0;
    default:  // 2, 12, 18, 19
      return -1;
  }
}

}  // namespace kvqt
