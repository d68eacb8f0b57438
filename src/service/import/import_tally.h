// What a result import wrote into the chart databases: the records, the data
// files that took them and the directories those lie in, and the summary line
// the import ends with. A data file's records count once the data file was
// finished: a merge that was refused (data file full) or a master that could
// not be updated writes nothing that the summary could claim.
#pragma once

#include <cstdint>
#include <set>
#include <string>
#include <string_view>

namespace kvqt {

class ImportTally {
 public:
  // One record handed to the data file being written in `directory`.
  void record(std::string_view directory);
  // The data file being written is finished; `kept` when its records reached it and its master.
  void finishDatafile(bool kept);

  std::int64_t records() const { return records_; }
  std::int64_t datafiles() const { return datafiles_; }
  std::int64_t directories() const { return static_cast<std::int64_t>(directories_.size()); }

 private:
  std::int64_t records_ = 0;
  std::int64_t datafiles_ = 0;
  std::int64_t pending_ = 0;
  std::string pendingDirectory_;
  std::set<std::string> directories_;
};

// "Written: 120 records in 3 data files in 1 directory".
std::string ImportSummaryText(std::int64_t records, std::int64_t datafiles, std::int64_t directories);
inline std::string ImportSummaryText(const ImportTally& tally) {
  return ImportSummaryText(tally.records(), tally.datafiles(), tally.directories());
}

// Whether a status text is the summary line of an import.
bool IsImportSummaryText(std::string_view text);

}  // namespace kvqt
