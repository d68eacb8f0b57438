// What the convert and append dialogs decide: which formats each side offers
// and which are chosen on opening, how the start date and the overwrite choice
// are read, and what each of the four buttons runs.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "app/core/action_info.h"
#include "app/runner/step_runner.h"

namespace kvqt {

class Format;
class Formats;
class Directory;

// Control ids of the two symbol lists; a run reads the selection of one.
inline constexpr int kSourceSymbolsId = 319;
inline constexpr int kDestinationSymbolsId = 320;

inline constexpr const char* kConvertFilesTitle = "Convert Files";
inline constexpr const char* kAppendFilesTitle = "Append Files";

// The start-date field reads at most this many characters.
inline constexpr std::size_t kStartDateFieldLength = 19;

// Intraday formats take part on neither side, output-only formats have no
// directories, and a format that cannot be read is never a source.
bool IsConvertSource(const Format& format);
bool IsConvertDestination(const Format& format);

// The formats each list offers, in the order of `formats`.
std::vector<Format*> ConvertSourceFormats(const Formats& formats);
std::vector<Format*> ConvertDestinationFormats(const Formats& formats);

// The place of `wanted` among `choices`; the first choice when it is not
// there; -1 when there is no choice.
int ChoiceIndex(const std::vector<Format*>& choices, const Format* wanted);

// What the two format lists show on opening: the current format as source,
// the format that follows it in `formats` as destination, each replaced by the
// list's first format when it is not offered. Indexes into the two lists.
struct ConvertPreselection {
  int source = -1;
  int destination = -1;
};
ConvertPreselection PreselectConvertFormats(const Formats& formats);

enum class ConvertCommand { kConvert, kConvertAll, kAppend, kAppendAll };

// What a button runs in the progress dialog.
struct ConvertRun {
  StepFunction step;
  const char* title;
  int listId;     // the symbol list whose entries are counted and selection read
  bool recorded;  // the run is first written to the task file
  bool append;
};
ConvertRun ConvertRunOf(ConvertCommand command);

// The dialog's choices at the moment a button is pressed.
struct ConvertChoices {
  Formats* formats = nullptr;
  void* owner = nullptr;
  Format* sourceFormat = nullptr;
  Directory* sourceDirectory = nullptr;
  Format* destinationFormat = nullptr;
  Directory* destinationDirectory = nullptr;
  std::string startDate;  // convert only: the field's text
  bool overwrite = false;  // convert only: "Overwrite Existing Files" is selected
};

// Fills `action` for the command. Convert reads the start date (empty: no
// lower bound) and the flags first. Without a source or destination directory
// nothing could run, and saying so beats a run that ends at once in silence.
// False after the message; nothing is to run then.
bool PrepareConvertAction(ConvertCommand command, const ConvertChoices& choices, ActionInfo& action);

}  // namespace kvqt
