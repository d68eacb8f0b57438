#include "app/datafile/program_data.h"

#include <cstdio>

#include "app/datafile/writer_settings.h"
#include "app/logs.h"
#include "app/model/datafile.h"
#include "app/personal_profile.h"
#include "platform/atomic_file.h"
#include "platform/clock.h"
#include "platform/path.h"

namespace kvqt {
namespace {

std::string ProgramFile(const std::string& programDirectory, const std::string& name) {
  return platform::ResolveNoCase(programDirectory + name);
}

// The program's own file, or, when it is missing, a copy of the predecessor's.
// True when the copy was made.
bool TakeOverPredecessor(const std::string& programDirectory, const std::string& own,
                         const std::string& predecessorName) {
  if (platform::FileExists(own)) return false;
  std::string predecessor = ProgramFile(programDirectory, predecessorName);
  if (!platform::FileExists(predecessor)) return false;
  return platform::CopyFileNoOverwrite(predecessor, own);
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

  std::string loginPath = ProgramFile(programDirectory, kLoginFileName);
  TakeOverPredecessor(programDirectory, loginPath, kPredecessorLoginFileName);
  loginRead_ = ReadLoginFile(loginPath, login_) == 0;

  std::string dataPath = DataFilePath(programDirectory);
  importedPredecessor_ = TakeOverPredecessor(programDirectory, dataPath, kPredecessorDataFileName);
  bool existed = platform::FileExists(dataPath);

  DataFileReadOptions options;
  options.importingPredecessor = importedPredecessor_;
  options.defaultMarket = Datafile::DefaultMarket();
  DataFileInfo info;
  int rc = ReadProgramDataFile(dataPath, options, userInfo_, formats, &info);
  writerSettings() = DeriveWriterSettings(userInfo_);
  if (rc == kTooManyFormats) {
    keepStoredDataFile_ = true;
    return kTooManyFormats;
  }
  // A file that is there but cannot be read is not ours to replace.
  if (rc == kDataFileMissing && existed) keepStoredDataFile_ = true;
  if (rc == kDataFileDamaged) {
    dataFileDamaged_ = true;
    debugFormat("Program data file %.80s damaged at byte %zu", dataPath.c_str(), info.damageOffset);
  }

  std::string feed = ProgramFile(programDirectory, kSymbolFeedFileName);
  if (importFeed && platform::FileExists(feed) && importFeed(feed) >= 0) std::remove(feed.c_str());

  platform::LocalDateTime now = platform::LocalNow();
  login_.sessionDate = Date(now.year, now.month, now.day);
  login_.sessionTime = Time(now.hour, now.minute, now.second);

  Logs::SetDebugMode(profile().getInt("debugmode", 0));
  return 0;
}

int ProgramData::save(const std::string& programDirectory, const Formats& formats) {
  if (!loaded_) return -1;
  int rc = 0;
  if (WriteLoginFile(ProgramFile(programDirectory, kLoginFileName), login_) != 0) rc = -1;
  if (keepStoredDataFile_) return rc;
  std::string dataPath = DataFilePath(programDirectory);
  if (dataFileDamaged_) platform::CopyFileNoOverwrite(dataPath, dataPath + kDamagedCopySuffix);
  if (!platform::WriteFileAtomically(dataPath, EncodeProgramDataFile(userInfo_, formats))) rc = -1;
  return rc;
}

}  // namespace kvqt
