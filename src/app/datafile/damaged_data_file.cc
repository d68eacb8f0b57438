#include "app/datafile/damaged_data_file.h"

#include "app/model/format.h"
#include "platform/atomic_file.h"
#include "platform/path.h"

namespace kvqt {
namespace {

// Far more than any user keeps; the search for a free name ends there.
constexpr int kMaxCopies = 100;

}  // namespace

std::string KeepDamagedCopy(const std::string& path) {
  std::string damaged;
  if (!platform::ReadWholeFile(path, damaged)) return std::string();
  for (int n = 1; n <= kMaxCopies; ++n) {
    std::string copy = path + kDamagedCopySuffix;
    if (n > 1) copy += "." + std::to_string(n);
    if (platform::FileExists(copy)) {
      std::string earlier;
      if (platform::ReadWholeFile(copy, earlier) && earlier == damaged) return copy;
      continue;
    }
    return platform::CopyFileNoOverwrite(path, copy) ? copy : std::string();
  }
  return std::string();
}

std::string DamageReport(const std::string& path, const DataFileInfo& info, const Formats& formats,
                         const std::string& copy) {
  int lists = 0;
  int directories = 0;
  for (int i = 0; i < formats.count(); ++i) {
    lists += formats.at(i)->listCount();
    directories += formats.at(i)->directoryCount();
  }
  std::string text = "The program data file " + path + " is damaged: it could be read up to byte " +
                     std::to_string(info.damageOffset) + " of " + std::to_string(info.fileSize) + ". Kept: " +
                     std::to_string(info.readFormats) + " of its " + std::to_string(info.storedFormats) +
                     " formats, " + std::to_string(lists) + " lists, " + std::to_string(directories) +
                     " directories.";
  if (!copy.empty()) {
    text += " The damaged file is kept as " + copy + ".";
  } else {
    text += " No copy of the damaged file could be kept.";
  }
  return text;
}

}  // namespace kvqt
