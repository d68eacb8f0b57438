#include "maintenance/convert_choices.h"

#include <algorithm>

#include "app/core/messages.h"
#include "app/model/formats.h"
#include "datetime/parse_date.h"
#include "maintenance/convert_datafile.h"
#include "maintenance/convert_steps.h"
#include "maintenance/start_date_text.h"

namespace kvqt {
namespace {

bool TakesPart(const Format& format) { return !format.intraday() && format.hasDirectories(); }

std::vector<Format*> Passing(const Formats& formats, bool (*passes)(const Format&)) {
  std::vector<Format*> choices;
  for (int i = 0; i < formats.count(); ++i) {
    if (passes(*formats.at(i))) choices.push_back(formats.at(i));
  }
  return choices;
}

}  // namespace

bool IsConvertSource(const Format& format) { return TakesPart(format) && !format.notConvertSource(); }
bool IsConvertDestination(const Format& format) { return TakesPart(format); }

std::vector<Format*> ConvertSourceFormats(const Formats& formats) { return Passing(formats, IsConvertSource); }
std::vector<Format*> ConvertDestinationFormats(const Formats& formats) {
  return Passing(formats, IsConvertDestination);
}

int ChoiceIndex(const std::vector<Format*>& choices, const Format* wanted) {
  if (choices.empty()) return -1;
  const auto found = std::find(choices.begin(), choices.end(), wanted);
  return found == choices.end() || wanted == nullptr ? 0 : static_cast<int>(found - choices.begin());
}

ConvertPreselection PreselectConvertFormats(const Formats& formats) {
  ConvertPreselection chosen;
  chosen.source = ChoiceIndex(ConvertSourceFormats(formats), formats.current());
  chosen.destination = ChoiceIndex(ConvertDestinationFormats(formats), formats.at(formats.currentIndex() + 1));
  return chosen;
}

ConvertRun ConvertRunOf(ConvertCommand command) {
  switch (command) {
    case ConvertCommand::kConvert: return {convertStep, kConvertFilesTitle, kSourceSymbolsId, false, false};
    case ConvertCommand::kConvertAll: return {convertAllStep, kConvertFilesTitle, kSourceSymbolsId, true, false};
    case ConvertCommand::kAppend: return {appendStep, kAppendFilesTitle, kDestinationSymbolsId, false, true};
    case ConvertCommand::kAppendAll: break;
  }
  return {appendAllStep, kAppendFilesTitle, kDestinationSymbolsId, true, true};
}

bool PrepareConvertAction(ConvertCommand command, const ConvertChoices& choices, ActionInfo& action) {
  const ConvertRun run = ConvertRunOf(command);
  Date start;
  int flags = kConvertOverwrite;
  if (!run.append) {
    const std::string_view typed =
        std::string_view(choices.startDate).substr(0, std::min(choices.startDate.size(), kStartDateFieldLength));
    const StartDateText date = ParseStartDateText(typed);
    if (!date.empty && !date.valid()) {
      message(kInvalidStartDateText);
      return false;
    }
    start = date.date;
    flags = choices.overwrite ? kConvertOverwrite : kConvertSkipExisting;
  }
  if (!choices.sourceDirectory) {
    message(kIllegalSourceDirectoryText);
    return false;
  }
  if (!choices.destinationDirectory) {
    message(kIllegalDestinationDirectoryText);
    return false;
  }
  action.formats = choices.formats;
  action.owner = choices.owner;
  action.sourceFormat = choices.sourceFormat;
  action.sourceDirectory = choices.sourceDirectory;
  action.destinationFormat = choices.destinationFormat;
  action.destinationDirectory = choices.destinationDirectory;
  action.startDate = start;
  action.convertFlags = flags;
  return true;
}

}  // namespace kvqt
