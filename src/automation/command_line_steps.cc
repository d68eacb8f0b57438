// The options that hand the run to another step function: a download by
// definition file, a local query, the import of a local data file and a task
// file.
#include <cstdio>
#include <string>

#include "app/core/action_info.h"
#include "app/core/compose.h"
#include "app/model/directory.h"
#include "app/core/output_file_name.h"
#include "app/model/formats.h"
#include "app/core/personal_profile.h"
#include "automation/command_line_actions.h"
#include "automation/task_file.h"
#include "maintenance/query_from_step.h"
#include "platform/path.h"
#include "service/import/result_import.h"
#include "service/request_file.h"
#include "service/session/download_session.h"

namespace kvqt {
namespace {

constexpr const char* kUnknownFormat = "Unknown format";
constexpr const char* kNoDirectory = "Unknown format or no directory specified";
constexpr const char* kQueryUsage = "usage: -query format [directory [definitionfile outputformat outputfile]]";
constexpr const char* kDataFileUsage = "usage: -datafile file format [directory]";
constexpr const char* kQueryOutputFormat = "ASC";
constexpr int kResultImportSteps = 2;

// The action keeps at most 255 characters of each name; a name cut short
// would read or write another file.
bool SetFileNames(StepRunner& runner, ActionInfo& action, const std::string& definitionFile,
                  const std::string& outputFile) {
  for (const std::string* name : {&definitionFile, &outputFile}) {
    if (name->size() > ActionInfo::kFileNameLimit) {
      runner.errorText("File name too long:", *name);
      return false;
    }
  }
  action.definitionFile = definitionFile;
  action.outputFile = outputFile;
  return true;
}

int StartDownload(StepRunner& runner, ActionInfo& action, const std::string& definitionFile, Format* outputFormat,
                  const std::string& outputFile) {
  if (outputFormat == nullptr) {
    runner.error(kUnknownFormat);
    return kStepErrorShown;
  }
  if (!OutputFileNameAllowed(outputFile)) {
    runner.errorText(kOutputNameNotAllowed, outputFile);
    return kStepErrorShown;
  }
  if (!SetFileNames(runner, action, definitionFile, outputFile)) return kStepErrorShown;
  action.sourceFormat = outputFormat;
  action.destinationFormat = outputFormat;
  action.kind = kSelectDefinitionFile;
  runner.setStep(DownloadSession, kDownloadSessionSteps);
  return kStepGoOn;
}

int InstallQuery(StepRunner& runner, ActionInfo& action, Format* format, Directory* directory,
                 Format* outputFormat, const std::string& definitionFile, const std::string& outputFile) {
  if (directory == nullptr) {
    runner.error(kNoDirectory);
    return kStepErrorShown;
  }
  if (outputFormat == nullptr) {
    runner.error(kUnknownFormat);
    return kStepErrorShown;
  }
  if (!SetFileNames(runner, action, definitionFile, outputFile)) return kStepErrorShown;
  action.sourceFormat = format;
  action.sourceDirectory = directory;
  action.destinationFormat = outputFormat;
  runner.setStep(queryFromStep, kQueryFromSteps);
  return kStepGoOn;
}

Directory* DirectoryByPath(Format* format, const std::string& path) {
  return format != nullptr ? format->directoryByName(path) : nullptr;
}

}  // namespace

int StartDefinitionFileFromSettings(StepRunner& runner, ActionInfo& action) {
  const std::string definitionFile = profile().getString("inputfilename", "input.dat");
  const std::string formatSymbol = profile().getString("outputformat", "ASC");
  const std::string outputFile = profile().getString("outputfilename", "output.dat");
  // The settings hold the symbol as the dialogs wrote it.
  Format* format = action.formats != nullptr ? action.formats->findBySymbol(formatSymbol) : nullptr;
  return StartDownload(runner, action, definitionFile, format, outputFile);
}

int StartDefinitionFile(StepRunner& runner, ActionInfo& action, const CommandLine& line) {
  return StartDownload(runner, action, line.argument(2), FindFormatArgument(action.formats, line.argument(3)),
                       line.argument(4));
}

int StartQuery(StepRunner& runner, ActionInfo& action, const CommandLine& line) {
  const int n = line.count();
  if (n != 2 && n != 3 && n < 6) {
    runner.error(kQueryUsage);
    return kStepErrorShown;
  }
  Format* format = FindFormatArgument(action.formats, line.argument(2));
  if (n >= 6) {
    if (!OutputFileNameAllowed(line.argument(6))) {
      runner.errorText(kOutputNameNotAllowed, line.argument(6));
      return kStepErrorShown;
    }
    return InstallQuery(runner, action, format, DirectoryByPath(format, line.argument(3)),
                        FindFormatArgument(action.formats, line.argument(5)), line.argument(4), line.argument(6));
  }
  Directory* directory = n == 3 ? DirectoryByPath(format, line.argument(3))
                                : (format != nullptr ? format->currentDirectory() : nullptr);
  const std::string request = platform::ResolveNoCase(kRequestFileName);
  if (!platform::FileExists(request)) {
    runner.error("Request file not found");
    return kStepErrorShown;
  }
  Format* ascii = action.formats != nullptr ? action.formats->findBySymbol(kQueryOutputFormat) : nullptr;
  return InstallQuery(runner, action, format, directory, ascii, request, kResultFileName);
}

int StartDataFileImport(StepRunner& runner, ActionInfo& action, const CommandLine& line) {
  const int n = line.count();
  if (n != 3 && n != 4) {
    runner.error(kDataFileUsage);
    return kStepErrorShown;
  }
  const std::string file = platform::ResolveNoCase(line.argument(2));
  if (!platform::FileExists(file)) {
    runner.error(composeFormat("File not found: %s", line.argument(2).c_str()));
    return kStepErrorShown;
  }
  Format* format = FindFormatArgument(action.formats, line.argument(3));
  if (format == nullptr) {
    runner.error(composeFormat("Invalid format: %s", line.argument(3).c_str()));
    return kStepErrorShown;
  }
  Directory* directory = format->currentDirectory();
  if (n == 3 && directory == nullptr) {
    // Nothing would be imported, and the run would end as if it had been.
    runner.errorText("No directory selected for format", line.argument(3));
    return kStepErrorShown;
  }
  if (n == 4) {
    directory = format->directoryByName(line.argument(4));
    if (directory == nullptr) {
      runner.error(composeFormat("Invalid directory: %s", line.argument(4).c_str()));
      return kStepErrorShown;
    }
  }
  action.sourceFormat = format;
  action.sourceDirectory = directory;
  action.kind = kSelectLocalImport;
  action.type = kUpdateDateRange;
  action.localDataFile = file;
  runner.setStep(actionPostDatafile, kResultImportSteps);
  return kStepGoOn;
}

int StartTaskFileRun(StepRunner& runner, ActionInfo& action, const CommandLine& line) {
  const std::string& name = line.argument(1);
  const std::string path = platform::ResolveNoCase(name);
  // A directory opens as a file here, and would read as an empty task.
  std::FILE* file = platform::FileExists(path) ? std::fopen(path.c_str(), "re") : nullptr;
  if (file == nullptr) {
    runner.errorText("Error opening task file", name);
    return kStepErrorShown;
  }
  startTaskFile(runner, action, file);
  return kStepGoOn;
}

}  // namespace kvqt
