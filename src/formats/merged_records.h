// Puts the records of a date-range merge into an instrument's data file so
// that an interruption at any moment leaves the data file with its old
// records or its new ones, never a mixture or less.
//
// The new content is written to a file of the same name in a subdirectory of
// the chart directory and renamed over the data file; only then does the
// master learn the new dates and count. A data file that holds no record yet
// is moved into that subdirectory, filled there and moved back, which costs
// less than a copy and a replacing rename. Ring-buffer files, whose master says
// which slots hold records, are written in place into slots the old master
// does not use whenever there is room for that.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "formats/format_driver.h"

namespace kvqt {

// The subdirectory of a chart directory that holds a data file while it is
// being rewritten.
inline constexpr const char* kMergeDirectoryName = ".kvqt-merge";

// The merge subdirectory of one chart directory, made at its first use and
// removed when released (or destroyed), so that an import that rewrites many
// data files of a directory makes and removes it once. One left behind by an
// interrupted run is used again.
class MergeWorkspace {
 public:
  MergeWorkspace() = default;
  ~MergeWorkspace() { release(); }
  MergeWorkspace(const MergeWorkspace&) = delete;
  MergeWorkspace& operator=(const MergeWorkspace&) = delete;

  // The subdirectory of `directory` (ending in a separator), made when
  // needed; a workspace of another directory is released first. Empty when
  // it cannot be made.
  const std::string& use(const std::string& directory);
  // Removes the subdirectory when it was made or taken over, and is empty.
  void release();

 private:
  std::string directory_;
  std::string path_;
};

// `entry` is the instrument's master entry; `records` the data file's new
// content in order. When `extendsStored` is set, `records` begins with every
// record the data file holds, unchanged, and only the rest is written after
// them. A content that the data file cannot hold sets `full`, shows
// "Warning: Data file full" and changes nothing (0). -1 after a message when
// the data file could not be written; it then holds its old records.
// `workspace`, when given, is the merge subdirectory kept from one data file
// to the next; without one the subdirectory is made and removed here.
// `masters`, when given, are the directory's masters held open by the caller.
int StoreMergedRecords(DatafileEntry& entry, const std::vector<PriceRecord>& records, std::size_t storedCount,
                       bool extendsStored, int formatId, const Format* format, const std::string& directory,
                       bool& full, DatafileSink* sink = nullptr, MergeWorkspace* workspace = nullptr,
                       MasterHandles* masters = nullptr);

}  // namespace kvqt
