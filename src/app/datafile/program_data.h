// The user's data between runs: the login record ("kvqt.prs") and the program
// data file (`programdatafile`, default "kvqt.dat") in the program directory.
// Loaded once at start-up, saved once at exit.
#pragma once

#include <functional>
#include <string>

#include "app/datafile/damaged_data_file.h"
#include "app/datafile/login_record.h"
#include "app/datafile/program_data_file.h"
#include "app/datafile/user_info.h"
#include "app/model/formats.h"

namespace kvqt {

// The symbol-table feed that a download left in the program directory.
inline constexpr const char* kSymbolFeedFileName = "sintab.fd";

// Imports the symbol-table feed at `path`; 0 (or more) when it was imported,
// after which the load deletes the file. A negative result keeps it.
using SymbolFeedImporter = std::function<int(const std::string& path)>;

class ProgramData {
 public:
  // Start-up. `programDirectory` ends in a separator. When the program's own
  // file is missing, takes over the predecessor's: its login file as a copy
  // readable by the owner only, its data file converted (its retired formats
  // dropped) and written as the program's own at once. Reads both files
  // (missing ones give the defaults), derives the writer settings, imports
  // "sintab.fd" when an importer is given, sets the session date and time from
  // the clock and the debug mode from `debugmode`. Returns 0, or kTooManyFormats
  // when the data file holds more than 23 formats: `formats` then stays empty,
  // and the exit save leaves the stored data file alone.
  int load(const std::string& programDirectory, Formats& formats, const SymbolFeedImporter& importFeed = {});

  // Exit. Writes "kvqt.prs", then the data file, each to a temporary file that
  // replaces the old one. Returns 0, or -1 when a file could not be written
  // (that file then stays as it was). The data file is not written when the
  // load refused it (too many formats) or could not read a file that exists;
  // a damaged data file is replaced only once a copy is kept beside it. Without
  // a load before it, nothing is written (the files would lose what they hold)
  // and the result is -1.
  int save(const std::string& programDirectory, const Formats& formats);

  LoginRecord& login() { return login_; }
  const LoginRecord& login() const { return login_; }
  UserInfo& userInfo() { return userInfo_; }
  const UserInfo& userInfo() const { return userInfo_; }

  // False when "kvqt.prs" was missing or short: start-up runs the wizard.
  bool loginRecordRead() const { return loginRead_; }
  // This run started from the predecessor's data file.
  bool importedPredecessor() const { return importedPredecessor_; }
  // The stored data file is kept as it is at exit.
  bool keepStoredDataFile() const { return keepStoredDataFile_; }
  // The data file was cut short or corrupt; what could be read was taken.
  bool dataFileDamaged() const { return dataFileDamaged_; }
  // For the user: that the data file was damaged, what was kept of it and
  // where the copy of it is. Empty when it was whole.
  const std::string& damageReport() const { return damageReport_; }
  // The copy kept of the damaged data file; empty when there is none.
  const std::string& damagedCopy() const { return damagedCopy_; }

 private:
  LoginRecord login_;
  UserInfo userInfo_;
  bool loaded_ = false;
  bool loginRead_ = false;
  bool importedPredecessor_ = false;
  bool keepStoredDataFile_ = false;
  bool dataFileDamaged_ = false;
  std::string damageReport_;
  std::string damagedCopy_;
};

// Program directory + `programdatafile` (default "kvqt.dat"), an existing file
// found regardless of case.
std::string DataFilePath(const std::string& programDirectory);

}  // namespace kvqt
