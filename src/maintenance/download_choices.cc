#include "maintenance/download_choices.h"

#include <algorithm>

#include "app/model/directory.h"
#include "datetime/parse_date.h"
#include "maintenance/directory_editor.h"

namespace kvqt {
namespace {

std::string_view Trimmed(std::string_view text) {
  const auto blank = [](char c) { return c == ' ' || c == '\t'; };
  while (!text.empty() && blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && blank(text.back())) text.remove_suffix(1);
  return text;
}

bool IsRealTime(int type) { return type == kUpdateRealtime || type == kUpdateNormalAndRealtime; }

}  // namespace

std::vector<Format*> DownloadFormats(const Formats& formats) { return DirectoryFormats(formats); }

int DownloadFormatIndex(const std::vector<Format*>& choices, const Format* current) {
  if (choices.empty()) return -1;
  const auto found = std::find(choices.begin(), choices.end(), current);
  return found == choices.end() ? 0 : static_cast<int>(found - choices.begin());
}

UpdateTypeChoice ChooseUpdateType(const Format* format, int type, bool replaceYesterday) {
  UpdateTypeChoice choice;
  choice.type = type >= kUpdateNormal && type <= kUpdateNormalAndRealtime ? type : kUpdateNormal;
  choice.replaceYesterday = replaceYesterday;
  choice.realTimeEnabled = format == nullptr || !format->intraday();
  if (!choice.realTimeEnabled) {
    if (IsRealTime(choice.type)) choice.type = kUpdateNormal;
    choice.replaceYesterday = false;
  }
  choice.datesEnabled = choice.type == kUpdateDateRange;
  return choice;
}

SelectionControls ControlsForMode(int mode) {
  SelectionControls controls;
  controls.list = mode == kSelectList;
  controls.directory = mode == kSelectDirectory;
  controls.symbol = mode == kSelectSymbol;
  return controls;
}

int ReadDownloadMode(PersonalProfile& profile) {
  return profile.getInt(kDownloadDomainKey, kSelectList) == kSelectDirectory ? kSelectDirectory : kSelectList;
}

void SaveDownloadMode(PersonalProfile& profile, int mode) {
  if (mode == kSelectSymbol) return;
  profile.putInt(kDownloadDomainKey, mode);
}

DownloadDates CheckDownloadDates(int type, std::string_view startText, std::string_view endText) {
  DownloadDates dates;
  if (type != kUpdateDateRange) return dates;
  startText = Trimmed(startText);
  endText = Trimmed(endText);
  if (!startText.empty()) dates.start = ParseUserDate(startText);
  if (dates.start.isNull()) {
    dates.error = kInvalidStartDateText;
    return dates;
  }
  dates.end = endText.empty() ? dates.start : ParseUserDate(endText);
  if (dates.end.isNull()) {
    dates.error = kInvalidEndDateText;
    return dates;
  }
  if (dates.end < dates.start) dates.error = kStartPastEndText;
  return dates;
}

std::vector<std::string> SymbolLines(const Directory& directory) {
  std::vector<std::string> lines;
  lines.reserve(directory.size());
  for (int i = 0; i < directory.size(); ++i) lines.push_back(directory.at(i)->text(1));
  return lines;
}

const char* FillDownloadAction(const DownloadChoices& choices, ActionInfo& action) {
  const UpdateTypeChoice type = ChooseUpdateType(choices.format, choices.type, choices.replaceYesterday);
  const DownloadDates dates = CheckDownloadDates(type.type, choices.startText, choices.endText);
  if (dates.error != nullptr) return dates.error;

  Format* format = choices.format;
  // A mode of neither kind asks for a list.
  if (choices.mode != kSelectList && choices.mode != kSelectDirectory && choices.mode != kSelectSymbol)
    return kNoListSelectedText;
  const SelectionKind kind = choices.mode == kSelectList        ? SelectionKind::kList
                             : choices.mode == kSelectDirectory ? SelectionKind::kDirectory
                                                                : SelectionKind::kSymbol;
  DownloadSelection selection;
  const auto pick = [&choices](Directory& directory) { return directory.at(choices.symbolIndex); };
  SelectFromFormat(format, kind, pick, selection);
  // Refused by the session's own rule, before anything is recorded.
  ActionInfo chosen;
  chosen.kind = choices.mode;
  chosen.list = selection.list;
  chosen.sourceDirectory = selection.directory;
  chosen.datafile = selection.datafile;
  if (const char* missing = SelectionProblem(chosen)) return missing;

  action.sourceFormat = format;
  action.destinationFormat = nullptr;
  action.list = selection.list;
  action.sourceDirectory = selection.directory;
  action.destinationDirectory = nullptr;
  action.datafile = selection.datafile;
  action.kind = choices.mode;
  action.type = type.type;
  if (choices.reloadSymbolTable) action.type += kReloadSymbolsFlag;
  if (type.replaceYesterday) action.type += kReplaceRealtimeFlag;
  action.startDate = dates.start;
  action.endDate = dates.end;
  action.priceType = 0;
  action.period = 0;
  action.infoType = 0;
  action.definitionFile.clear();
  action.outputFile.clear();
  return nullptr;
}

}  // namespace kvqt
