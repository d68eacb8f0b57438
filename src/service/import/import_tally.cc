#include "service/import/import_tally.h"

namespace kvqt {
namespace {

constexpr std::string_view kSummaryPrefix = "Written: ";

std::string Counted(std::int64_t n, const char* one, const char* many) {
  return std::to_string(n) + " " + (n == 1 ? one : many);
}

}  // namespace

void ImportTally::record(std::string_view directory) {
  if (pending_ == 0) pendingDirectory_.assign(directory);
  ++pending_;
}

void ImportTally::finishDatafile(bool kept) {
  if (kept && pending_ > 0) {
    records_ += pending_;
    ++datafiles_;
    directories_.insert(pendingDirectory_);
  }
  pending_ = 0;
  pendingDirectory_.clear();
}

std::string ImportSummaryText(std::int64_t records, std::int64_t datafiles, std::int64_t directories) {
  return std::string(kSummaryPrefix) + Counted(records, "record", "records") + " in " +
         Counted(datafiles, "data file", "data files") + " in " + Counted(directories, "directory", "directories");
}

bool IsImportSummaryText(std::string_view text) { return text.substr(0, kSummaryPrefix.size()) == kSummaryPrefix; }

}  // namespace kvqt
