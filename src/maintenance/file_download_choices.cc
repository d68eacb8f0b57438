#include "maintenance/file_download_choices.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "app/core/output_file_name.h"
#include "app/model/directory.h"
#include "app/model/format.h"
#include "app/model/list.h"
#include "datetime/parse_date.h"
#include "platform/path.h"
#include "service/request_file.h"

namespace kvqt {
namespace {

constexpr const char* kDomainKey = "DefaultFileDownloadDomain";
constexpr const char* kTypeKey = "DefaultFileDownloadType";
constexpr const char* kOutputFormatKey = "outputformat";
constexpr const char* kOutputFileKey = "outputfilename";
constexpr const char* kInputFileKey = "inputfilename";

// Names the task file would refuse to read back.
constexpr const char* kFileNameTooLongText = "File name too long:";

std::optional<FileDownloadProblem> Problem(std::string text, FileDownloadField field, std::string name = {}) {
  return FileDownloadProblem{std::move(text), std::move(name), field};
}

// The definition file of the definition-file mode.
std::optional<FileDownloadProblem> CheckInputFile(const std::string& name) {
  if (name.empty()) return Problem(kNoInputFileNameText, FileDownloadField::kInputFile);
  if (name.size() > ActionInfo::kFileNameLimit) {
    return Problem(kFileNameTooLongText, FileDownloadField::kInputFile, name);
  }
  if (!InputFileNameAllowed(name)) return Problem(kInputNameNotAllowedText, FileDownloadField::kInputFile, name);
  return std::nullopt;
}

std::optional<FileDownloadProblem> CheckOutputFile(const std::string& name) {
  if (name.empty()) return Problem(kNoOutputFileNameText, FileDownloadField::kOutputFile);
  if (name.size() > ActionInfo::kFileNameLimit) {
    return Problem(kFileNameTooLongText, FileDownloadField::kOutputFile, name);
  }
  if (!OutputFileNameAllowed(name)) return Problem(kOutputNameNotAllowed, FileDownloadField::kOutputFile, name);
  return std::nullopt;
}

struct Dates {
  Date start;
  Date end;
  int period = 0;
};

std::optional<FileDownloadProblem> ReadDates(const FileDownloadFields& fields, Dates& dates) {
  switch (fields.type) {
    case kUpdateNormal:
      dates.start = ParseUserDate(fields.singleDay);
      if (dates.start.isNull()) return Problem(kInvalidDateText, FileDownloadField::kSingleDay);
      dates.end = dates.start;
      dates.period = fields.period;
      return std::nullopt;
    case kUpdateDateRange:
      dates.start = ParseUserDate(fields.start);
      if (dates.start.isNull()) return Problem(kInvalidStartDateText, FileDownloadField::kStart);
      dates.end = ParseUserDate(fields.end);
      if (dates.end.isNull()) return Problem(kInvalidEndDateText, FileDownloadField::kEnd);
      if (dates.start > dates.end) return Problem(kStartDatePastEndDateText, FileDownloadField::kStart);
      dates.period = fields.period;
      return std::nullopt;
    default:  // real time: no dates, daily
      return std::nullopt;
  }
}

// Anything but a list or a symbol selects the directory.
std::optional<FileDownloadProblem> ReadSelection(const FileDownloadFields& fields, DownloadSelection& selection) {
  const SelectionKind kind = fields.selection == kFileSelectList     ? SelectionKind::kList
                             : fields.selection == kFileSelectSymbol ? SelectionKind::kSymbol
                                                                     : SelectionKind::kDirectory;
  const char* missing =
      SelectFromFormat(fields.inputFormat, kind, [&fields](Directory&) { return fields.datafile; }, selection);
  if (missing != nullptr) return Problem(missing, FileDownloadField::kSelection);
  return std::nullopt;
}

void ClearSelection(ActionInfo& action) {
  action.list = nullptr;
  action.sourceDirectory = nullptr;
  action.destinationDirectory = nullptr;
  action.datafile = nullptr;
  action.startDate = Date();
  action.endDate = Date();
  action.priceType = 0;
  action.period = 0;
  action.infoType = 0;
  action.definitionFile.clear();
}

}  // namespace

std::vector<Format*> FileDownloadInputFormats(const Formats& formats) {
  std::vector<Format*> out;
  for (int i = 0; i < formats.count(); ++i) {
    Format* format = formats.at(i);
    if (!format->intraday() && format->hasDirectories()) out.push_back(format);
  }
  return out;
}

std::vector<Format*> FileDownloadOutputFormats(const Formats& formats, FileDownloadMode mode) {
  std::vector<Format*> out;
  for (int i = 0; i < formats.count(); ++i) {
    Format* format = formats.at(i);
    if (!format->fileOutput() || format->intraday()) continue;
    if (mode == FileDownloadMode::kChoice && format->definitionOutputOnly()) continue;
    if (mode == FileDownloadMode::kDefinitionFile && format->noDefinitionOutput()) continue;
    out.push_back(format);
  }
  return out;
}

int OutputFormatPosition(const std::vector<Format*>& formats, std::string_view symbol) {
  if (formats.empty()) return -1;
  for (std::size_t i = 0; i < formats.size(); ++i) {
    if (formats[i]->symbol() == symbol) return static_cast<int>(i);
  }
  return 0;
}

FileDownloadSettings ReadFileDownloadSettings(PersonalProfile& profile) {
  FileDownloadSettings settings;
  const int selection = profile.getInt(kDomainKey, kFileSelectDirectory);
  settings.selection = selection == kFileSelectList ? kFileSelectList : kFileSelectDirectory;
  const int type = profile.getInt(kTypeKey, kUpdateRealtime);
  settings.type = type >= kUpdateNormal && type <= kUpdateRealtime ? type : kUpdateRealtime;
  settings.outputFormat = profile.getString(kOutputFormatKey, "ASC");
  settings.outputFile = profile.getString(kOutputFileKey, "");
  settings.inputFile = profile.getString(kInputFileKey, "");
  return settings;
}

void SaveFileDownloadOnClose(PersonalProfile& profile, FileDownloadMode mode, int selection, int type) {
  if (mode != FileDownloadMode::kChoice) return;
  if (selection != kFileSelectSymbol) profile.putInt(kDomainKey, selection);
  profile.putInt(kTypeKey, type);
}

void SaveFileDownloadOnStart(PersonalProfile& profile, const ActionInfo& action) {
  if (action.destinationFormat != nullptr) profile.putString(kOutputFormatKey, action.destinationFormat->symbol());
  profile.putString(kOutputFileKey, action.outputFile);
  if (action.kind == kSelectDefinitionFile) profile.putString(kInputFileKey, action.definitionFile);
}

FileDownloadDateFields EnabledDateFields(int type) {
  switch (type) {
    case kUpdateNormal:
      return {true, false, true};
    case kUpdateDateRange:
      return {false, true, true};
    default:
      return {};
  }
}

std::string TrimmedFileName(std::string_view text) {
  std::size_t end = text.size();
  while (end > 0 && (text[end - 1] == ' ' || text[end - 1] == '\t')) --end;
  return std::string(text.substr(0, end));
}

bool InputFileNameAllowed(std::string_view path) {
  const std::string name = platform::FileNamePart(std::string(path));
  for (const char* reserved : {"query.dat", "kvqt.prs", "kvqt.dat"}) {
    if (platform::EqualsNoCase(name, reserved)) return false;
  }
  return true;
}

bool SameFile(std::string_view a, std::string_view b) {
  bool failed = false;
  const auto pathOf = [&failed](std::string_view name) {
    std::error_code error;
    std::filesystem::path path = std::filesystem::absolute(platform::ResolveNoCase(std::string(name)), error);
    if (!error) path = std::filesystem::weakly_canonical(path, error);
    failed = failed || error;
    return path;
  };
  const std::filesystem::path first = pathOf(a);
  const std::filesystem::path second = pathOf(b);
  return !failed && first == second;
}

std::optional<FileDownloadProblem> FillFileDownloadAction(const FileDownloadFields& fields, ActionInfo& action) {
  const std::string outputFile = TrimmedFileName(fields.outputFile);
  if (fields.mode == FileDownloadMode::kDefinitionFile) {
    const std::string inputFile = TrimmedFileName(fields.inputFile);
    if (auto problem = CheckInputFile(inputFile)) return problem;
    if (auto problem = CheckOutputFile(outputFile)) return problem;
    if (SameFile(inputFile, outputFile)) {
      return Problem(kOutputNameNotAllowed, FileDownloadField::kOutputFile, outputFile);
    }
    if (fields.outputFormat == nullptr) return Problem(kNoOutputFormatText, FileDownloadField::kOutputFormat);
    ClearSelection(action);
    action.kind = kSelectDefinitionFile;
    action.type = 0;
    // The definition file names the symbols; the output format reads them.
    action.sourceFormat = fields.outputFormat;
    action.destinationFormat = fields.outputFormat;
    action.definitionFile = inputFile;
    action.outputFile = outputFile;
    return std::nullopt;
  }

  Dates dates;
  if (auto problem = ReadDates(fields, dates)) return problem;
  DownloadSelection selection;
  if (auto problem = ReadSelection(fields, selection)) return problem;
  if (auto problem = CheckOutputFile(outputFile)) return problem;
  if (fields.outputFormat == nullptr) return Problem(kNoOutputFormatText, FileDownloadField::kOutputFormat);

  ClearSelection(action);
  action.kind = fields.selection == kFileSelectList || fields.selection == kFileSelectSymbol ? fields.selection
                                                                                             : kFileSelectDirectory;
  action.type = fields.type >= kUpdateNormal && fields.type <= kUpdateRealtime ? fields.type : kUpdateRealtime;
  action.sourceFormat = fields.inputFormat;
  action.destinationFormat = fields.outputFormat;
  action.list = selection.list;
  action.sourceDirectory = selection.directory;
  action.datafile = selection.datafile;
  action.startDate = dates.start;
  action.endDate = dates.end;
  action.period = dates.period;
  action.outputFile = outputFile;
  return std::nullopt;
}

EditFileChoice DefinitionFileToEdit(std::string_view field) {
  const std::string name = TrimmedFileName(field);
  if (name.empty()) return {"", kEnterInputFileNameText};
  return {name, ""};
}

EditFileChoice OutputFileToEdit(std::string_view field) {
  const std::string name = TrimmedFileName(field);
  if (name.empty()) return {"", kEnterOutputFileNameText};
  const std::string path = platform::ResolveNoCase(name);
  if (!platform::FileExists(path)) return {"", kOutputFileMissingText};
  return {path, ""};
}

std::string QtFileFilter(std::string_view windowsFilter) {
  std::vector<std::string> parts;
  std::size_t begin = 0;
  while (begin < windowsFilter.size()) {
    const std::size_t bar = windowsFilter.find('|', begin);
    const std::size_t end = bar == std::string_view::npos ? windowsFilter.size() : bar;
    parts.emplace_back(windowsFilter.substr(begin, end - begin));
    begin = end + 1;
  }
  std::string out;
  for (std::size_t i = 0; i + 1 < parts.size(); i += 2) {
    std::string text = parts[i];
    if (text.empty()) break;  // the closing "||"
    // "Definition files (*.dat,*.qry)": the text without its pattern list.
    if (const std::size_t open = text.rfind(" ("); open != std::string::npos && text.back() == ')') {
      text.erase(open);
    }
    std::string patterns;
    std::size_t p = 0;
    const std::string& list = parts[i + 1];
    while (p <= list.size()) {
      const std::size_t semicolon = std::min(list.find(';', p), list.size());
      std::string pattern = list.substr(p, semicolon - p);
      if (pattern == "*.*") pattern = "*";
      if (!pattern.empty()) patterns += (patterns.empty() ? "" : " ") + pattern;
      p = semicolon + 1;
    }
    if (!out.empty()) out += ";;";
    out += text + " (" + patterns + ")";
  }
  return out;
}

}  // namespace kvqt
