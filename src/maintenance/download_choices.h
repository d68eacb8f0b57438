// What the download dialog decides: the formats it offers, the update types
// and their options under the intraday rule, which controls each selection
// mode enables, the dates of a date-range update, the selection mode kept in
// the settings, and the action a download starts with.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "app/core/action_info.h"
#include "app/core/personal_profile.h"
#include "app/model/formats.h"
#include "maintenance/download_selection.h"
#include "service/request_file.h"

namespace kvqt {

inline constexpr const char* kDownloadDomainKey = "DefaultDownloadDomain";
inline constexpr const char* kStartPastEndText = "Startdate past Enddate";

// The formats a download goes into: those with directories of their own
// (neither output-only kind), in the order of `formats`.
std::vector<Format*> DownloadFormats(const Formats& formats);

// The position of `current` among `choices`; the first when it is not there,
// -1 when there is no choice.
int DownloadFormatIndex(const std::vector<Format*>& choices, const Format* current);

// The update-type buttons and the "replace yesterday's real-time price" box
// as a format allows them: an intraday format has no real-time choices, so a
// real-time type falls back to a normal update and the box is unticked.
struct UpdateTypeChoice {
  int type = kUpdateNormal;
  bool replaceYesterday = false;
  bool realTimeEnabled = true;  // both real-time types and the box
  bool datesEnabled = false;    // start and end: only a date-range update has them
};
UpdateTypeChoice ChooseUpdateType(const Format* format, int type, bool replaceYesterday);

// Which selection controls a mode enables; the others are disabled.
struct SelectionControls {
  bool list = false;       // the List combo and "List Editor..."
  bool directory = false;  // the Directory combo and "Dir Editor..."
  bool symbol = false;     // the single symbol's Directory and Symbol combos with their labels
};
SelectionControls ControlsForMode(int mode);

// The selection mode the dialog opens with: directory for a saved 0, a list
// for anything else (also when nothing is saved).
int ReadDownloadMode(PersonalProfile& profile);
// Keeps the mode for the next opening; a single symbol is never kept.
void SaveDownloadMode(PersonalProfile& profile, int mode);

// The dates of a download. A date-range update needs a start date; an empty
// end date takes the start date; the start may not lie after the end. Other
// types have no dates. `error` is the message for the first failed check.
struct DownloadDates {
  Date start;
  Date end;
  const char* error = nullptr;
};
DownloadDates CheckDownloadDates(int type, std::string_view startText, std::string_view endText);

// The symbol combo's lines: one per data file of the directory, by name, in
// the directory's order (the position is the data file's index).
std::vector<std::string> SymbolLines(const Directory& directory);

// What the user chose in the dialog.
struct DownloadChoices {
  Format* format = nullptr;
  int type = kUpdateNormal;
  bool replaceYesterday = false;
  bool reloadSymbolTable = false;
  int mode = kSelectList;
  std::string startText;
  std::string endText;
  int symbolIndex = -1;  // position in the symbol combo
};

// Fills the action's selection and download fields from the choices (its
// links are the caller's). Returns null, or the message of the first failed
// check with the action unchanged.
const char* FillDownloadAction(const DownloadChoices& choices, ActionInfo& action);

}  // namespace kvqt
