// The action lines of a task file: "=Download", "=FileDownload", "=Convert",
// "=Append" and "=Execute".
#include <string>

#include "app/core/action_info.h"
#include "app/core/compose.h"
#include "app/model/directory.h"
#include "app/model/format.h"
#include "app/model/formats.h"
#include "app/model/list.h"
#include "app/core/output_file_name.h"
#include "automation/task_dispatch.h"
#include "datetime/parse_date.h"
#include "maintenance/convert_steps.h"
#include "platform/launcher.h"
#include "platform/path.h"
#include "service/request_file.h"
#include "service/session/download_session.h"

namespace kvqt {
namespace {

constexpr const char* kOpenExpected = "syntax error in task file: '(' expected";
constexpr const char* kCloseExpected = "syntax error in task file: ')' expected";
constexpr const char* kFormatExpected = "syntax error in task file: string value expected for format";
constexpr const char* kListExpected = "syntax error in task file: string value expected for list";
constexpr const char* kDirectoryExpected = "syntax error in task file: string value expected for directory";
constexpr const char* kSelectionExpected =
    "syntax error in task file: string value expected for directory, list or inputfile";
constexpr const char* kOutputFormatExpected = "syntax error in task file: string value expected for output format";
constexpr const char* kOutputFileExpected = "syntax error in task file: string value expected for output file name";
constexpr const char* kDomainExpected = "syntax error in task file: numeric downloaddomain expected";
constexpr const char* kTypeExpected = "syntax error in task file: numeric downloadtype expected";
constexpr const char* kStartExpected = "syntax error in task file: numeric startdate expected";
constexpr const char* kEndExpected = "syntax error in task file: numeric enddate expected";
constexpr const char* kPriceTypeExpected = "syntax error in task file: numeric pricetype expected";
constexpr const char* kPeriodExpected = "syntax error in task file: numeric downloadperiod expected";
constexpr const char* kInfoTypeExpected = "syntax error in task file: numeric info type expected";
constexpr const char* kConvertFlagExpected = "syntax error in task file: numeric convertflag expected";
constexpr const char* kUnknownFormat = "unknown format";
constexpr const char* kUnknownDirectory = "unknown directory";
constexpr const char* kFileDownloadNotSupported = "FileDownload not supported for downloaddomain";

void ResetAction(ActionInfo& a) {
  a.kind = 0;
  a.type = 0;
  a.priceType = 0;
  a.period = 0;
  a.infoType = 0;
  a.convertFlags = kConvertOverwrite;
  a.sourceFormat = nullptr;
  a.destinationFormat = nullptr;
  a.list = nullptr;
  a.sourceDirectory = nullptr;
  a.destinationDirectory = nullptr;
  a.datafile = nullptr;
  a.startDate = Date();
  a.endDate = Date();
}

Format* FindSymbol(const ActionInfo& action, const std::string& symbol) {
  return action.formats != nullptr ? action.formats->findBySymbol(symbol) : nullptr;
}

// An empty name or path selects nothing (rather than whatever an empty key finds).
List* FindList(const Format* format, const std::string& name) {
  return format != nullptr && !name.empty() ? format->listByName(name) : nullptr;
}

Directory* FindDirectory(const Format* format, const std::string& path) {
  return format != nullptr && !path.empty() ? format->directoryByName(path) : nullptr;
}

// The action keeps at most 255 characters of a file name; cut short, the name
// would read or write another file.
bool FitsFileName(const std::string& name) { return name.size() <= ActionInfo::kFileNameLimit; }
constexpr const char* kFileNameTooLong = "File name too long:";

// A download date: numeric; one digit (the 0 the program writes for no date)
// leaves it null.
bool DownloadDate(const TaskArguments& args, std::size_t index, Date& date) {
  const std::string_view text = args.text(index);
  if (!StartsWithDigit(text)) return false;
  date = LeadingDigits(text) == 1 ? Date() : ParseDate(text, "?md");
  return true;
}

int Download(StepRunner& runner, ActionInfo& action, const TaskArguments& args) {
  int kind = 0;
  int type = 0;
  if (!args.number(0, kind)) return StopTask(runner, action, kDomainExpected);
  if (!args.number(1, type)) return StopTask(runner, action, kTypeExpected);
  std::string symbol;
  if (!args.string(2, symbol)) return StopTask(runner, action, kFormatExpected);
  Format* format = FindSymbol(action, symbol);
  if (format == nullptr) return StopTask(runner, action, kUnknownFormat, symbol);
  std::string listName;
  if (!args.string(3, listName)) return StopTask(runner, action, kListExpected);
  std::string path;
  if (!args.string(4, path)) return StopTask(runner, action, kDirectoryExpected);
  Date start;
  Date end;
  if (!DownloadDate(args, 5, start)) return StopTask(runner, action, kStartExpected);
  if (!DownloadDate(args, 6, end)) return StopTask(runner, action, kEndExpected);

  action.kind = kind;
  action.type = type;
  action.sourceFormat = format;
  action.list = FindList(format, listName);
  action.sourceDirectory = FindDirectory(format, path);
  action.startDate = start;
  action.endDate = end;
  runner.setStep(DownloadSession, kDownloadSessionSteps);
  return kStepGoOn;
}

int FileDownload(StepRunner& runner, ActionInfo& action, const TaskArguments& args) {
  int priceType = 0;
  int kind = 0;
  int type = 0;
  int period = 0;
  Date start;
  Date end;
  if (!args.number(0, priceType)) return StopTask(runner, action, kPriceTypeExpected);
  if (!args.number(1, kind)) return StopTask(runner, action, kDomainExpected);
  if (!args.number(2, type)) return StopTask(runner, action, kTypeExpected);
  if (!args.number(3, period)) return StopTask(runner, action, kPeriodExpected);
  if (!DownloadDate(args, 4, start)) return StopTask(runner, action, kStartExpected);
  if (!DownloadDate(args, 5, end)) return StopTask(runner, action, kEndExpected);
  std::string symbol;
  if (!args.string(6, symbol)) return StopTask(runner, action, kFormatExpected);
  Format* format = FindSymbol(action, symbol);
  if (format == nullptr) return StopTask(runner, action, kUnknownFormat, symbol);
  std::string selection;
  if (!args.string(7, selection)) return StopTask(runner, action, kSelectionExpected);
  switch (kind) {
    case kFileSelectDirectory:
      action.sourceDirectory = FindDirectory(format, selection);
      break;
    case kFileSelectList:
      action.list = FindList(format, selection);
      break;
    case kSelectDefinitionFile:
      if (!FitsFileName(selection)) return StopTask(runner, action, kFileNameTooLong, selection);
      action.definitionFile = selection;
      break;
    default:
      return StopTask(runner, action, composeInt(kFileDownloadNotSupported, kind));
  }
  std::string outputSymbol;
  if (!args.string(8, outputSymbol)) return StopTask(runner, action, kOutputFormatExpected);
  std::string outputFile;
  if (!args.string(9, outputFile)) return StopTask(runner, action, kOutputFileExpected);
  if (!FitsFileName(outputFile)) return StopTask(runner, action, kFileNameTooLong, outputFile);
  if (!OutputFileNameAllowed(outputFile)) return StopTask(runner, action, kOutputNameNotAllowed, outputFile);
  int infoType = 0;
  if (!args.number(10, infoType)) return StopTask(runner, action, kInfoTypeExpected);

  action.priceType = priceType;
  action.kind = kind;
  action.type = type;
  action.period = period;
  action.startDate = start;
  action.endDate = end;
  action.sourceFormat = format;
  action.destinationFormat = FindSymbol(action, outputSymbol);
  action.outputFile = outputFile;
  action.infoType = infoType;
  runner.setStep(DownloadSession, kDownloadSessionSteps);
  return kStepGoOn;
}

// A format and one of its directories, both named by string arguments that must exist.
int FormatAndDirectory(StepRunner& runner, ActionInfo& action, const TaskArguments& args, std::size_t index,
                       Format*& format, Directory*& directory) {
  std::string symbol;
  if (!args.string(index, symbol)) return StopTask(runner, action, kFormatExpected);
  format = FindSymbol(action, symbol);
  if (format == nullptr) return StopTask(runner, action, kUnknownFormat, symbol);
  std::string path;
  if (!args.string(index + 1, path)) return StopTask(runner, action, kDirectoryExpected);
  directory = FindDirectory(format, path);
  if (directory == nullptr) return StopTask(runner, action, kUnknownDirectory, path);
  return kStepGoOn;
}

int SourceAndDestination(StepRunner& runner, ActionInfo& action, const TaskArguments& args) {
  Format* source = nullptr;
  Directory* sourceDirectory = nullptr;
  Format* destination = nullptr;
  Directory* destinationDirectory = nullptr;
  if (int rc = FormatAndDirectory(runner, action, args, 0, source, sourceDirectory); rc != kStepGoOn) return rc;
  if (int rc = FormatAndDirectory(runner, action, args, 2, destination, destinationDirectory); rc != kStepGoOn)
    return rc;
  action.sourceFormat = source;
  action.sourceDirectory = sourceDirectory;
  action.destinationFormat = destination;
  action.destinationDirectory = destinationDirectory;
  return kStepGoOn;
}

int Convert(StepRunner& runner, ActionInfo& action, const TaskArguments& args) {
  if (int rc = SourceAndDestination(runner, action, args); rc != kStepGoOn) return rc;
  // The 0 the program writes for a convert without a start date is no date.
  const std::string_view start = args.text(4);
  action.startDate = LeadingDigits(start) > 1 ? ParseDate(start, "?md") : Date();
  int flags = 0;
  if (!args.number(5, flags)) return StopTask(runner, action, kConvertFlagExpected);
  action.convertFlags = flags;
  int count = 0;
  if (int rc = CountDataFiles(runner, action, *action.sourceDirectory, &count); rc != kStepGoOn) return rc;
  runner.setStep(convertAllStep, count);
  return kStepGoOn;
}

int Append(StepRunner& runner, ActionInfo& action, const TaskArguments& args) {
  if (int rc = SourceAndDestination(runner, action, args); rc != kStepGoOn) return rc;
  // Appended from the source's data files into the destination's.
  int count = 0;
  if (int rc = CountDataFiles(runner, action, *action.sourceDirectory, &count); rc != kStepGoOn) return rc;
  if (int rc = CountDataFiles(runner, action, *action.destinationDirectory, &count); rc != kStepGoOn) return rc;
  runner.setStep(appendAllStep, count);
  return kStepGoOn;
}

// A program started with the quoted command; an argument without its closing
// quote (cut at a comma or a parenthesis) starts nothing.
int Execute(StepRunner& runner, ActionInfo& /*action*/, const TaskArguments& args) {
  std::string command;
  if (!args.string(0, command)) return kStepGoOn;
  const int result = platform::StartProgram(CommandWords(command));
  runner.statusNumber(command, result);
  return kStepGoOn;
}

}  // namespace

int RunActionLine(StepRunner& runner, ActionInfo& action, const ParsedTaskLine& line) {
  ResetAction(action);
  switch (line.syntax) {
    case ActionSyntax::OpenExpected:
      return StopTask(runner, action, kOpenExpected);
    case ActionSyntax::CloseExpected:
      return StopTask(runner, action, kCloseExpected);
    case ActionSyntax::Ok:
      break;
  }
  const std::string& name = line.name;
  if (platform::EqualsNoCase(name, "=Download")) return Download(runner, action, line.arguments);
  if (platform::EqualsNoCase(name, "=FileDownload")) return FileDownload(runner, action, line.arguments);
  if (platform::EqualsNoCase(name, "=Convert")) return Convert(runner, action, line.arguments);
  if (platform::EqualsNoCase(name, "=Append")) return Append(runner, action, line.arguments);
  if (platform::EqualsNoCase(name, "=Execute")) return Execute(runner, action, line.arguments);
  return kStepGoOn;
}

}  // namespace kvqt
