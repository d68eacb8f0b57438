#include "kvqt-config/config_data.h"

#include <cerrno>
#include <cstring>

#include "app/datafile/login_record.h"
#include "app/core/logs.h"
#include "formats/directory_refresh.h"
#include "kvqt-config/arguments.h"
#include "platform/path.h"
#include "platform/program_dir.h"

namespace kvqt::config {

std::string ChooseProgramDirectory(const std::string& explicitDirectory, std::ostream& err) {
  if (explicitDirectory.empty()) {
    std::string directory = platform::ResolveProgramDirectory(platform::ExecutablePath());
    if (!platform::DirectoryExists(directory)) {
      err << "kvqt-config: cannot make the program directory " << directory << "\n";
      return std::string();
    }
    return directory;
  }
  std::string absolute;
  if (!AbsolutePath(explicitDirectory, absolute, err)) return std::string();
  std::string directory = platform::EnsureTrailingSeparator(absolute);
  if (PathExists(directory) && !platform::DirectoryExists(directory)) {
    err << "kvqt-config: " << directory << " is not a directory\n";
    return std::string();
  }
  if (!platform::MakeDirectories(directory)) {
    err << "kvqt-config: cannot make the program directory " << directory << ": " << std::strerror(errno) << "\n";
    return std::string();
  }
  return directory;
}

bool ConfigData::load(const std::string& programDirectory, std::ostream& err) {
  programDirectory_ = programDirectory;
  // The debug log belongs in the program directory, wherever the tool was started.
  Logs::SetDirectory(programDirectory_);
  InstallDirectoryRefresh();
  dataFilePath_ = DataFilePath(programDirectory_);
  dataFileExisted_ = platform::FileExists(dataFilePath_);
  loginFileExisted_ = platform::FileExists(platform::ResolveNoCase(programDirectory_ + kLoginFileName));

  int rc = data_.load(programDirectory_, formats_);
  if (rc == kTooManyFormats) {
    err << "kvqt-config: ERROR: Too many formats in " << dataFilePath_ << "; nothing was changed\n";
    return false;
  }
  if (data_.keepStoredDataFile()) {
    err << "kvqt-config: cannot read " << dataFilePath_ << "; nothing was changed\n";
    return false;
  }
  if (data_.dataFileDamaged()) {
    err << "kvqt-config: warning: " << data_.damageReport() << "\n";
  }
  return true;
}

bool ConfigData::save(std::ostream& out, std::ostream& err) {
  if (data_.save(programDirectory_, formats_) != 0) {
    err << "kvqt-config: cannot write " << platform::ResolveNoCase(programDirectory_ + kLoginFileName) << " or "
        << dataFilePath_ << "\n";
    return false;
  }
  out << "saved " << platform::ResolveNoCase(programDirectory_ + kLoginFileName) << " and "
      << DataFilePath(programDirectory_) << "\n";
  return true;
}

}  // namespace kvqt::config
