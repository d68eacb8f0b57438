// The record one run works on: filled by a dialog, the task file or the command
// line, and read by every step of the run. The owner of the run owns it; the
// pointers only refer to objects that live longer than the run.
#pragma once

#include <cstdio>
#include <ctime>
#include <memory>
#include <string>

#include "datetime/date.h"

namespace kvqt {

class Formats;
class Format;
class List;
class Directory;
class Datafile;
struct UserInfo;
struct LoginRecord;
class ResultImportState;
class TNetwork;
class ReceiveBuffer;
struct SessionOptions;

// Which items of a symbol list the "selected only" convert and append steps
// take. The convert and append dialogs implement it over their lists; batch
// runs (task files, the command line) leave it unset and take every item.
class ListSelection {
 public:
  virtual ~ListSelection() = default;
  virtual bool isSelected(int index) const = 0;
};

// The task file of the current run, in the program directory: the actions
// started from dialogs are recorded there, and start-up deletes it.
inline constexpr const char* kTaskFileName = "kvqt.tsk";

// Convert and append options.
inline constexpr int kConvertOverwrite = 0;
inline constexpr int kConvertSkipExisting = 2;

struct ActionInfo {
  // The definition file and output file names hold at most this many characters.
  static constexpr std::size_t kFileNameLimit = 255;

  // Links.
  Formats* formats = nullptr;
  UserInfo* userInfo = nullptr;
  LoginRecord* login = nullptr;
  // The window the run's dialogs belong to; the user interface knows its type.
  void* owner = nullptr;

  // Selection.
  Format* sourceFormat = nullptr;       // also the format of a download
  Format* destinationFormat = nullptr;  // also the output format of a file download
  List* list = nullptr;
  Directory* sourceDirectory = nullptr;  // also the directory of a download
  Directory* destinationDirectory = nullptr;
  Datafile* datafile = nullptr;

  // Download.
  int kind = 0;  // selection kind
  int type = 0;  // download type with its flag bits
  Date startDate;
  Date endDate;
  int priceType = 0;
  int period = 0;  // 0 daily, 1 weekly, 2 monthly
  int infoType = 0;
  std::string definitionFile;
  std::string outputFile;

  // Convert and append.
  int convertFlags = kConvertOverwrite;
  // The symbol list whose selection the "selected only" steps read; null: all.
  const ListSelection* selection = nullptr;

  // Task file.
  std::FILE* taskFile = nullptr;
  bool taskFileFlag = false;
  std::time_t waitTarget = 0;
  std::time_t waitLogged = 0;  // when the wait's status last went to the log; 0: not yet
  int countdown = 0;

  // Result import.
  std::string localDataFile;  // selection kind 8: the data file to import
  // What the running import keeps from one step to the next (the open result,
  // the data file being written); it goes with the action.
  std::shared_ptr<ResultImportState> importState;

  // Download session: the connection from the connect step until the result
  // has arrived or a step fails, the receive buffer, and the credit text the
  // server sent (at most 80 characters).
  std::shared_ptr<TNetwork> network;
  std::shared_ptr<ReceiveBuffer> receiveBuffer;
  std::string creditText;
  // The session's waits and connection seams; null for the defaults.
  std::shared_ptr<const SessionOptions> sessionOptions;
};

}  // namespace kvqt
