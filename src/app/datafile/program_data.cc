#include "app/datafile/program_data.h"

#include <cstdio>

#include "app/datafile/writer_settings.h"
#include "app/core/logs.h"
#include "app/model/datafile.h"
#include "app/core/personal_profile.h"
#include "platform/atomic_file.h"
#include "platform/clock.h"
#include "platform/path.h"

namespace kvqt {
namespace {

std::string ProgramFile(const std::string& programDirectory, const std::string& name) {
  return platform::ResolveNoCase(programDirectory + name);
}

// The predecessor's file of that name, when the program's own is missing;
// empty otherwise.
std::string PredecessorFile(const std::string& programDirectory, const std::string& own,
                            const std::string& predecessorName) {
  if (platform::FileExists(own)) return std::string();
  std::string predecessor = ProgramFile(programDirectory, predecessorName);
  return platform::FileExists(predecessor) ? predecessor : std::string();
}

}  // namespace

std::string DataFilePath(const std::string& programDirectory) {
  std::string name = profile().getString("programdatafile", kDataFileName);
  return ProgramFile(programDirectory, name);
}

int ProgramData::load(const std::string& programDirectory, Formats& formats, const SymbolFeedImporter& importFeed) {
  ResetWriterSettings();
  loaded_ = true;
  loginRead_ = importedPredecessor_ = keepStoredDataFile_ = dataFileDamaged_ = false;
  damageReport_.clear();
  damagedCopy_.clear();
  // First, so that what the load finds reaches the debug log.
  Logs::SetDebugMode(profile().getInt("debugmode", 0));

  std::string loginPath = ProgramFile(programDirectory, kLoginFileName);
  // What an exit save that was killed half-way left behind.
  platform::RemoveStaleTemporaries(loginPath);
  platform::RemoveStaleTemporaries(DataFilePath(programDirectory));
  // The login file holds the password: private from its first byte.
  std::string predecessorLogin = PredecessorFile(programDirectory, loginPath, kPredecessorLoginFileName);
  if (!predecessorLogin.empty()) platform::CopyFileNoOverwrite(predecessorLogin, loginPath, 0600);
  loginRead_ = ReadLoginFile(loginPath, login_) == 0;

  std::string dataPath = DataFilePath(programDirectory);
  std::string predecessorData = PredecessorFile(programDirectory, dataPath, kPredecessorDataFileName);
  importedPredecessor_ = !predecessorData.empty();
  bool existed = platform::FileExists(dataPath);

  DataFileReadOptions options;
  options.importingPredecessor = importedPredecessor_;
  options.defaultMarket = Datafile::DefaultMarket();
  DataFileInfo info;
  int rc = ReadProgramDataFile(importedPredecessor_ ? predecessorData : dataPath, options, userInfo_, formats, &info);
  writerSettings() = DeriveWriterSettings(userInfo_);
  if (rc == kTooManyFormats) {
    // Neither taken nor converted: the next start tries the predecessor's file again.
    keepStoredDataFile_ = true;
    return kTooManyFormats;
  }
  if (importedPredecessor_ && rc == kDataFileMissing) importedPredecessor_ = false;
  // The predecessor's file becomes the program's own only as converted, its
  // retired formats dropped: a run that ends without saving must not leave
  // a copy that later runs would read as the program's own file.
  if (importedPredecessor_) {
    platform::WriteFileAtomically(dataPath, EncodeProgramDataFile(userInfo_, formats), platform::ModeFromUmask());
  }
  // A file that is there but cannot be read is not ours to replace.
  if (rc == kDataFileMissing && existed) keepStoredDataFile_ = true;
  if (rc == kDataFileDamaged) {
    dataFileDamaged_ = true;
    // Kept now, before anything may replace it; the predecessor's damaged
    // file stays where it is and is its own copy.
    const std::string& readPath = importedPredecessor_ ? predecessorData : dataPath;
    damagedCopy_ = importedPredecessor_ ? predecessorData : KeepDamagedCopy(dataPath);
    damageReport_ = DamageReport(readPath, info, formats, damagedCopy_);
    Logs::Debug(damageReport_);
  }

  std::string feed = ProgramFile(programDirectory, kSymbolFeedFileName);
  if (importFeed && platform::FileExists(feed) && importFeed(feed) >= 0) std::remove(feed.c_str());

  platform::LocalDateTime now = platform::LocalNow();
  login_.sessionDate = Date(now.year, now.month, now.day);
  login_.sessionTime = Time(now.hour, now.minute, now.second);

  return 0;
}

int ProgramData::save(const std::string& programDirectory, const Formats& formats) {
  if (!loaded_) return -1;
  int rc = 0;
  if (WriteLoginFile(ProgramFile(programDirectory, kLoginFileName), login_) != 0) rc = -1;
  if (keepStoredDataFile_) return rc;
  std::string dataPath = DataFilePath(programDirectory);
  // A damaged file is not replaced before a copy of it is kept.
  if (dataFileDamaged_ && damagedCopy_.empty()) damagedCopy_ = KeepDamagedCopy(dataPath);
  if (dataFileDamaged_ && damagedCopy_.empty()) return -1;
  // Only the login file is always private; the data file's mode is the user's umask's.
  if (!platform::WriteFileAtomically(dataPath, EncodeProgramDataFile(userInfo_, formats), platform::ModeFromUmask())) {
    rc = -1;
  }
  return rc;
}

}  // namespace kvqt
