// Records each action the user starts from a dialog as one line of the task
// file "kvqt.tsk", in the language the task-file interpreter reads, so that the
// run can be repeated unattended.
#pragma once

#include <string>

#include "app/core/action_info.h"

namespace kvqt {

// Action kinds.
inline constexpr int kActionConvert = 10;
inline constexpr int kActionAppend = 11;
inline constexpr int kActionDownload = 12;
inline constexpr int kActionFileDownload = 13;

// The line (with its CR LF) for the action; empty when the action is not
// recorded: a download of a selection kind other than 0 and 1, a file download
// of a kind other than 3, 4 and 7, or an unknown action kind.
std::string TaskLine(int actionKind, const ActionInfo& action);

// Appends the line to the task file (by default "kvqt.tsk" in the current
// directory); nothing when there is no line or the file cannot be opened.
void writeTaskLine(int actionKind, const ActionInfo& action, const std::string& path = kTaskFileName);

}  // namespace kvqt
