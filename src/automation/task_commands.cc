// The command lines of a task file: a keyword and blank-separated words.
#include <string>
#include <string_view>
#include <vector>

#include "app/core/action_info.h"
#include "app/core/compose.h"
#include "app/model/directory.h"
#include "app/model/format.h"
#include "app/model/list.h"
#include "automation/task_dispatch.h"
#include "automation/wait_steps.h"
#include "datetime/parse_date.h"
#include "maintenance/convert_steps.h"
#include "maintenance/query_from_step.h"
#include "platform/path.h"
#include "service/request_file.h"
#include "service/session/download_session.h"

namespace kvqt {
namespace {

constexpr const char* kUnknownCommand = ": unknown command";
constexpr const char* kNoLongerSupported = "CL command no longer supported";
constexpr const char* kWaitTimeExpected = "WAIT: time hh:mm expected";
constexpr const char* kCdFormatExpected = "CD: Format expected";
constexpr const char* kCdDirectoryExpected = "CD: directory expected";
constexpr const char* kCdUnknownFormat = "CD: unknown format";
constexpr const char* kCdUnknownDirectory = "CD: unknown directory";
constexpr const char* kUnknownFormat = "Unknown format";
constexpr const char* kListnumberExpected = "Listnumber expected";
constexpr const char* kUnknownListnumber = "Unknown listnumber";
constexpr const char* kUnknownSourceFormat = "Unknown source format";
constexpr const char* kUnknownDestinationFormat = "Unknown destination format";
// The download session's text for the same lack.
constexpr const char* kNoDirectory = "No directory selected";

class Words {
 public:
  explicit Words(const std::vector<std::string>& words) : words_(words) {}
  std::string_view operator[](std::size_t i) const {
    return i < words_.size() ? std::string_view(words_[i]) : std::string_view();
  }
  std::size_t size() const { return words_.size(); }

 private:
  const std::vector<std::string>& words_;
};

int Wait(StepRunner& runner, ActionInfo& action, const Words& w) {
  int hour = 0;
  int minute = 0;
  if (!ParseWaitTime(w[1], hour, minute)) {
    return w.size() < 2 ? StopTask(runner, action, kWaitTimeExpected)
                        : StopTask(runner, action, kWaitTimeExpected, w[1]);
  }
  SetWaitTarget(action, hour, minute);
  runner.setStep(waitStep, 1);
  return kStepGoOn;
}

int Sleep(StepRunner& runner, ActionInfo& action, const Words& w) {
  action.countdown = LeadingNumber(w[1]);
  runner.setStep(countdownStep, 1);
  return kStepGoOn;
}

int ChangeDirectory(StepRunner& runner, ActionInfo& action, const Words& w) {
  if (w.size() < 2) return StopTask(runner, action, kCdFormatExpected);
  if (w.size() < 3) return StopTask(runner, action, kCdDirectoryExpected);
  Format* format = FindFormatWord(action.formats, w[1]);
  if (format == nullptr) return StopTask(runner, action, kCdUnknownFormat, w[1]);
  Directory* directory = format->directoryByName(w[2]);
  if (directory == nullptr) return StopTask(runner, action, kCdUnknownDirectory, w[2]);
  format->setCurrentDirectory(directory->name());
  action.sourceFormat = format;
  action.sourceDirectory = directory;
  return kStepGoOn;
}

// The words after a download's format: REALTIME, RANGE start end, or nothing.
void DownloadOption(ActionInfo& action, const Words& w, std::size_t at, int realtimeType) {
  action.startDate = Date();
  action.endDate = Date();
  if (StartsWithIgnoreCase(w[at], "REALTIME")) {
    action.type = realtimeType;
  } else if (StartsWithIgnoreCase(w[at], "RANGE")) {
    action.type = kUpdateDateRange;
    action.startDate = ParseDate(w[at + 1], "?md");
    action.endDate = ParseDate(w[at + 2], "?md");
  } else {
    action.type = kUpdateNormal;
  }
}

int DownloadList(StepRunner& runner, ActionInfo& action, const Words& w) {
  Format* format = FindFormatWord(action.formats, w[1]);
  if (format == nullptr) return StopTask(runner, action, kUnknownFormat);
  if (!StartsWithDigit(w[2])) return StopTask(runner, action, kListnumberExpected);
  const int index = LeadingNumber(w[2]);
  if (index >= format->listCount()) return StopTask(runner, action, kUnknownListnumber);
  action.kind = kSelectList;
  action.sourceFormat = format;
  action.list = format->listAt(index);
  // REALTIME asks a list for type 2 (a directory for type 3).
  DownloadOption(action, w, 3, kUpdateDateRange);
  runner.setStep(DownloadSession, kDownloadSessionSteps);
  return kStepGoOn;
}

// "Query from" over the format's current directory, with the definition and
// output files the action already names.
int QueryFrom(StepRunner& runner, ActionInfo& action, Format* format) {
  Directory* directory = format->currentDirectory();
  if (directory == nullptr) return StopTask(runner, action, kNoDirectory);
  action.sourceFormat = format;
  action.sourceDirectory = directory;
  runner.setStep(queryFromStep, kQueryFromSteps);
  return kStepGoOn;
}

int DownloadDirectory(StepRunner& runner, ActionInfo& action, const Words& w) {
  Format* format = FindFormatWord(action.formats, w[1]);
  if (format == nullptr) return StopTask(runner, action, kUnknownSourceFormat);
  if (platform::EqualsNoCase(w[2], "QU")) return QueryFrom(runner, action, format);
  action.kind = kSelectDirectory;
  action.sourceFormat = format;
  action.list = nullptr;
  // The session itself stops with its message when the format has no directory.
  action.sourceDirectory = format->currentDirectory();
  DownloadOption(action, w, 2, kUpdateRealtime);
  runner.setStep(DownloadSession, kDownloadSessionSteps);
  return kStepGoOn;
}

int Query(StepRunner& runner, ActionInfo& action, const Words& w) {
  Format* format = FindFormatWord(action.formats, w[1]);
  if (format == nullptr) return StopTask(runner, action, kUnknownSourceFormat);
  return QueryFrom(runner, action, format);
}

enum class Transfer { ConvertOverwrite, ConvertSkipExisting, Append };

int ConvertOrAppend(StepRunner& runner, ActionInfo& action, const Words& w, Transfer transfer) {
  Format* source = FindFormatWord(action.formats, w[1]);
  if (source == nullptr) return StopTask(runner, action, kUnknownSourceFormat);
  Format* destination = FindFormatWord(action.formats, w[2]);
  if (destination == nullptr) return StopTask(runner, action, kUnknownDestinationFormat);
  Directory* sourceDirectory = source->currentDirectory();
  Directory* destinationDirectory = destination->currentDirectory();
  // Both directories are counted or worked through: there must be both.
  if (sourceDirectory == nullptr || destinationDirectory == nullptr) return StopTask(runner, action, kNoDirectory);
  action.sourceFormat = source;
  action.destinationFormat = destination;
  action.sourceDirectory = sourceDirectory;
  action.destinationDirectory = destinationDirectory;
  int count = 0;
  if (int rc = CountDataFiles(runner, action, *sourceDirectory, &count); rc != kStepGoOn) return rc;
  if (transfer == Transfer::Append) {
    if (int rc = CountDataFiles(runner, action, *destinationDirectory, &count); rc != kStepGoOn) return rc;
    runner.setStep(appendAllStep, count);
    return kStepGoOn;
  }
  action.convertFlags = transfer == Transfer::ConvertOverwrite ? kConvertOverwrite : kConvertSkipExisting;
  action.startDate = Date();
  runner.setStep(convertAllStep, count);
  return kStepGoOn;
}

}  // namespace

int RunCommandLine(StepRunner& runner, ActionInfo& action, const ParsedTaskLine& line) {
  const Words w(line.words);
  const std::string_view key = w[0];
  if (platform::EqualsNoCase(key, "WAIT")) return Wait(runner, action, w);
  if (platform::EqualsNoCase(key, "SLEEP")) return Sleep(runner, action, w);
  if (platform::EqualsNoCase(key, "CD")) return ChangeDirectory(runner, action, w);
  if (platform::EqualsNoCase(key, "LU")) return DownloadList(runner, action, w);
  if (platform::EqualsNoCase(key, "US")) return DownloadDirectory(runner, action, w);
  if (platform::EqualsNoCase(key, "QU")) return Query(runner, action, w);
  if (platform::EqualsNoCase(key, "CF")) return ConvertOrAppend(runner, action, w, Transfer::ConvertOverwrite);
  if (platform::EqualsNoCase(key, "CC")) return ConvertOrAppend(runner, action, w, Transfer::ConvertSkipExisting);
  if (platform::EqualsNoCase(key, "UL")) return ConvertOrAppend(runner, action, w, Transfer::Append);
  // The two messages that do not stop the task are status lines: an error
  // display would take the Cancel button away for the rest of the run.
  if (platform::EqualsNoCase(key, "CL")) {
    runner.status(kNoLongerSupported, true);
  } else {
    runner.status(compose2(key, kUnknownCommand), true);
  }
  return kStepGoOn;
}

}  // namespace kvqt
