// What the file-download dialog decides, in both of its modes (a download
// into one file for a list, a directory or one symbol; and a download by a
// definition file): the formats it offers, the settings it reads and writes,
// the checks of its fields with their messages, and the action it fills.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/core/action_info.h"
#include "app/core/personal_profile.h"
#include "app/model/formats.h"
#include "maintenance/download_selection.h"

namespace kvqt {

enum class FileDownloadMode {
  kChoice,          // "KORV_FILEDOWNLOAD": a list, a directory or one symbol
  kDefinitionFile,  // "KORV_DEFFILEDOWNLOAD": what a definition file asks for
};

inline constexpr const char* kNoInputFileNameText = "No input filename specified";
inline constexpr const char* kInputNameNotAllowedText = "Input filename not allowed:";
inline constexpr const char* kNoOutputFileNameText = "No output filename specified";
inline constexpr const char* kStartDatePastEndDateText = "Start date past end date";
// Not a message of the original dialog: without any output format there is
// nothing to write the download in.
inline constexpr const char* kNoOutputFormatText = "No output format selected";
inline constexpr const char* kEnterInputFileNameText = "Enter input file name";
inline constexpr const char* kEnterOutputFileNameText = "Enter output file name";
inline constexpr const char* kOutputFileMissingText = "File does not exist\n\nPerform a download first";

// The open-file dialogs' filters, as the original program gave them.
inline constexpr const char* kDefinitionFilesFilter = "Definition files (*.dat,*.qry)|*.dat;*.qry|All Files (*.*)|*.*||";
inline constexpr const char* kOutputFilesFilter = "Output Data Files (*.dat)|*.dat|All Files (*.*)|*.*||";

// Formats whose databases a file download reads: not intraday, with directories.
std::vector<Format*> FileDownloadInputFormats(const Formats& formats);
// Formats a file download writes in: `FileOutput` and not intraday; the choice
// mode leaves out `DefinitionOutputOnly`, the definition-file mode
// `NoDefinitionOutput` formats.
std::vector<Format*> FileDownloadOutputFormats(const Formats& formats, FileDownloadMode mode);
// The position of the saved output format's symbol in the list; the first
// (0) when it is not there, -1 for an empty list.
int OutputFormatPosition(const std::vector<Format*>& formats, std::string_view symbol);

// The settings the dialog opens with, each with its fallback.
struct FileDownloadSettings {
  int selection = 3;   // `DefaultFileDownloadDomain`: 3 directory or 4 list
  int type = 3;        // `DefaultFileDownloadType`: 1, 2 or 3
  std::string outputFormat = "ASC";
  std::string outputFile;
  std::string inputFile;
};
FileDownloadSettings ReadFileDownloadSettings(PersonalProfile& profile);

// On closing, in the choice mode: the type, and the selection unless it is
// one symbol (5), which is never kept.
void SaveFileDownloadOnClose(PersonalProfile& profile, FileDownloadMode mode, int selection, int type);
// When a download starts: the output format's symbol and the output file, and
// in the definition-file mode the definition file.
void SaveFileDownloadOnStart(PersonalProfile& profile, const ActionInfo& action);

// Which of the date fields a type enables.
struct FileDownloadDateFields {
  bool singleDay = false;
  bool range = false;
  bool periodicity = false;
};
FileDownloadDateFields EnabledDateFields(int type);

// The dialog's fields when "Do&wnload !" is pressed. The selection, list,
// directory and data file are those of the input format as the combos left them.
struct FileDownloadFields {
  FileDownloadMode mode = FileDownloadMode::kChoice;
  Format* inputFormat = nullptr;
  int selection = 3;  // 3 directory, 4 list, 5 one symbol
  // The data file at the Symbol combo's selected position; null for none.
  Datafile* datafile = nullptr;
  int type = 3;       // 1 single day, 2 date range, 3 real time
  std::string singleDay;
  std::string start;
  std::string end;
  int period = 0;     // 0 daily, 1 weekly, 2 monthly
  Format* outputFormat = nullptr;
  std::string outputFile;
  std::string inputFile;  // the definition file
};

// The controls a refused field sends the focus to.
enum class FileDownloadField { kNone, kInputFile, kSingleDay, kStart, kEnd, kSelection, kOutputFormat, kOutputFile };

struct FileDownloadProblem {
  std::string text;
  std::string name;  // shown after the text ("%.80s %.80s") when not empty
  FileDownloadField field = FileDownloadField::kNone;
};

// A file name as the dialogs take it: without trailing blanks.
std::string TrimmedFileName(std::string_view text);

// False when the file name and extension of `path` (letter case aside) is
// "query.dat", "kvqt.prs" or "kvqt.dat": the download would overwrite it, or
// read it as a request.
bool InputFileNameAllowed(std::string_view path);

// Whether the two names are one file: the same path after the names are
// resolved regardless of case and made absolute from the current directory.
bool SameFile(std::string_view a, std::string_view b);

// Checks the fields in the dialog's order and fills the selection, the
// download and the file names of `action` (its links stay as they are). The
// first problem found, with `action` unchanged; nullopt when it was filled.
// An output file that is the definition file itself is refused as a name not
// allowed: the download would overwrite the user's request with its result.
std::optional<FileDownloadProblem> FillFileDownloadAction(const FileDownloadFields& fields, ActionInfo& action);

// "&Edit definition file..." and "Edit o&utput file...": the file to open in
// the editor, or the message why not. An output file must exist.
struct EditFileChoice {
  std::string path;
  std::string problem;
};
EditFileChoice DefinitionFileToEdit(std::string_view field);
EditFileChoice OutputFileToEdit(std::string_view field);

// A filter of the Windows open-file dialog ("Text|*.a;*.b|All|*.*||") in the
// syntax of the Qt file dialog ("Text (*.a *.b);;All (*)"): a pattern list in
// the text is replaced by the pattern, and "*.*" matches every file.
std::string QtFileFilter(std::string_view windowsFilter);

}  // namespace kvqt
