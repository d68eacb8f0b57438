#include "formats/text_plain_driver.h"

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "datetime/parse_date.h"
#include "formats/file_locator.h"
#include "formats/text_line_codec.h"
#include "platform/path.h"

namespace kvqt {
namespace {

constexpr const char* kExtension = ".asc";
constexpr std::size_t kExtensionSize = 4;

class AscListing : public MasterState {
 public:
  std::string directory;
  std::vector<std::string> names;
  std::size_t next = 0;
};

// The symbol of an ".asc" file name; empty when the name is no symbol's file
// (a stem longer than a symbol could never be found again).
std::string SymbolOf(const std::string& name) {
  if (name.size() <= kExtensionSize) return {};
  std::size_t stem = name.size() - kExtensionSize;
  if (!platform::EqualsNoCase(name.substr(stem), kExtension)) return {};
  if (stem > kEntrySymbolSize || name.find(' ') != std::string::npos) return {};
  return name.substr(0, stem);
}

std::vector<std::string> ListAscFiles(const std::string& directory) {
  std::vector<std::string> names;
  DIR* dir = ::opendir(directory.empty() ? "." : directory.c_str());
  if (!dir) return names;
  while (struct dirent* e = ::readdir(dir)) {
    std::string name = e->d_name;
    if (SymbolOf(name).empty()) continue;
    struct stat st;
    if (::stat((directory + name).c_str(), &st) == 0 && S_ISREG(st.st_mode)) names.push_back(name);
  }
  ::closedir(dir);
  std::sort(names.begin(), names.end());
  return names;
}

// The date a line starts with when it starts with eight digits (YYYYMMDD).
Date LeadingDate(const std::string& line) {
  if (line.size() < 8) return Date();
  for (std::size_t i = 0; i < 8; ++i)
    if (line[i] < '0' || line[i] > '9') return Date();
  return ParseDate(line, "?md");
}

std::string LastLine(std::FILE* f) {
  constexpr long kTail = static_cast<long>(kMaxTextLineLength) + 8;
  if (std::fseek(f, 0, SEEK_END) != 0) return {};
  long size = std::ftell(f);
  if (size <= 0) return {};
  long from = size > kTail ? size - kTail : 0;
  std::string tail(static_cast<std::size_t>(size - from), '\0');
  if (std::fseek(f, from, SEEK_SET) != 0) return {};
  tail.resize(std::fread(tail.data(), 1, tail.size(), f));
  while (!tail.empty() && (tail.back() == '\n' || tail.back() == '\r')) tail.pop_back();
  std::size_t lf = tail.rfind('\n');
  return lf == std::string::npos ? tail : tail.substr(lf + 1);
}

int EntryFromFile(const std::string& path, const std::string& symbol, int flags, DatafileEntry& entry) {
  std::FILE* f = std::fopen(path.c_str(), "rbe");
  if (!f) return -1;
  DatafileEntry e;
  e.symbol = symbol;
  e.name = symbol;
  e.recordCount = -1;
  e.lastDate = LeadingDate(LastLine(f));
  if (!(flags & kScanNoDataFiles)) {
    std::string line;
    std::rewind(f);
    if (ReadTextLine(f, line) == 1) e.firstDate = LeadingDate(line);
  }
  if (flags & kScanReadHeader) e.recordCount = CountStreamLines(f);
  std::fclose(f);
  entry = e;
  return 0;
}

}  // namespace

int TextPlainDriver::scanEntries(MasterHandles& masters, int, DatafileEntry& entry, const std::string& symbol,
                                 int flags, const std::string& directory) {
  const std::string& dir = directory.empty() ? masters.directory : directory;
  if (flags & kScanMatch) {
    std::string wanted = PadAndTrim(symbol, kEntrySymbolSize);
    if (wanted.empty()) return -1;
    std::string path = FindExistingFile(dir, wanted + kExtension);
    if (path.empty()) return -1;
    return EntryFromFile(path, SymbolOf(platform::FileNamePart(path)), flags, entry);
  }
  auto* listing = dynamic_cast<AscListing*>(masters.state.get());
  if (!(flags & kScanContinue) || !listing || listing->directory != dir) {
    auto fresh = std::make_unique<AscListing>();
    fresh->directory = dir;
    fresh->names = ListAscFiles(dir);
    listing = fresh.get();
    masters.state = std::move(fresh);
  }
  // A file that went away since the listing is passed over.
  while (listing->next < listing->names.size()) {
    const std::string& name = listing->names[listing->next++];
    if (EntryFromFile(dir + name, SymbolOf(name), flags, entry) == 0) return 0;
  }
  return -1;
}

int TextPlainDriver::finalize(DatafileEntry&, DatafileHandle& handle, int, const std::string&) {
  return handle.close() ? 0 : -1;
}

}  // namespace kvqt
