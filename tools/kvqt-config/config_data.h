// The program's data as kvqt-config works on them: loaded by the program's own
// start-up load from the program directory and saved by its exit save (both
// files replaced atomically). Nothing else of a start happens: the report log
// and the task file stay, and a "sintab.fd" waits for the program.
#pragma once

#include <ostream>
#include <string>

#include "app/datafile/program_data.h"
#include "app/model/formats.h"

namespace kvqt::config {

// The program directory as kvqt finds it (KVQT_HOME, a portable install beside
// the executable, else the per-user data directory), or `explicitDirectory`
// when not empty (a relative one taken from the current directory). Created
// when missing; ends in a separator. Empty after a message on `err` when it
// cannot be made.
std::string ChooseProgramDirectory(const std::string& explicitDirectory, std::ostream& err);

class ConfigData {
 public:
  // False, after a message on `err`, when the data cannot be changed safely:
  // the data file exists but cannot be read, or holds more formats than the
  // program keeps (the program would not write it back either). A damaged
  // data file is taken as far as it could be read, with a warning, as the
  // program does.
  bool load(const std::string& programDirectory, std::ostream& err);

  // Writes "kvqt.prs" and the data file; false after a message on `err`.
  bool save(std::ostream& out, std::ostream& err);

  const std::string& programDirectory() const { return programDirectory_; }
  Formats& formats() { return formats_; }
  ProgramData& data() { return data_; }
  // The data file's path, and whether it existed before this run.
  const std::string& dataFilePath() const { return dataFilePath_; }
  bool dataFileExisted() const { return dataFileExisted_; }
  bool loginFileExisted() const { return loginFileExisted_; }

 private:
  std::string programDirectory_;
  std::string dataFilePath_;
  bool dataFileExisted_ = false;
  bool loginFileExisted_ = false;
  Formats formats_;
  ProgramData data_;
};

}  // namespace kvqt::config
