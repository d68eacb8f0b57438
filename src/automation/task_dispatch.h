// What the task-file interpreter does with one parsed line. Each handler
// returns kStepGoOn (the next line, or the action it installed, comes next)
// or kStepErrorShown after an error that stops the task.
#pragma once

#include <string_view>

#include "app/runner/step_runner.h"
#include "automation/task_line_parse.h"

namespace kvqt {

class Directory;
class Format;
class Formats;

// "=Download", "=FileDownload", "=Convert", "=Append", "=Execute"; any other
// name is skipped.
int RunActionLine(StepRunner& runner, ActionInfo& action, const ParsedTaskLine& line);

// WAIT, SLEEP, CD, LU, US, QU, CF, CC, UL and CL.
int RunCommandLine(StepRunner& runner, ActionInfo& action, const ParsedTaskLine& line);

// Shows the error, closes the task file and returns kStepErrorShown.
int StopTask(StepRunner& runner, ActionInfo& action, std::string_view message);
// The same with "%.80s %.80s" of the message and the offending text.
int StopTask(StepRunner& runner, ActionInfo& action, std::string_view message, std::string_view text);

inline constexpr const char* kNoMasterAccess = "Can't access Masterfile of directory";

// The data files of a directory that a convert or append goes through, read
// from its master into *count. A master that is damaged or missing (a share
// not mounted) stops the task with "Can't access Masterfile of directory" and
// the path, instead of a run over nothing that reports success.
int CountDataFiles(StepRunner& runner, ActionInfo& action, Directory& directory, int* count);

// The format a command line names: by `FormatId` when the word begins with a
// digit, else by its symbol, exactly. Null for an empty word or none found.
Format* FindFormatWord(const Formats* formats, std::string_view word);

}  // namespace kvqt
