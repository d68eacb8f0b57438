// The pieces of actionPostDatafile that live in files of their own.
#pragma once

#include <string_view>

#include "datetime/date.h"
#include "service/import/result_line.h"

namespace kvqt {

class ResultImportState;
class StepRunner;
struct ActionInfo;

// Chart databases: one line of the result (kLine or kTooLong). 0 to go on,
// -5 after an error was shown.
int ImportChartLine(StepRunner& runner, ActionInfo& action, ResultImportState& state, ResultLineReader::Next next,
                    std::string_view line);
// Makes the action's directory, when it has one, the directory written to.
// 0, or -5 after the error was shown.
int EnterActionDirectory(StepRunner& runner, ActionInfo& action, ResultImportState& state);
// Finishes the data file being written (into its master) and counts what reached it.
void FinishCurrentDatafile(ResultImportState& state, Date sessionDate);
// Finishes the current data file and, for Orvista 2000, starts the importer
// for the directory being left.
void LeaveDirectory(ResultImportState& state, Date sessionDate);

// File downloads: the output file, and one line of the result per call.
int OpenFileDownloadOutput(StepRunner& runner, ActionInfo& action, ResultImportState& state);
void ImportFileDownloadLine(ResultImportState& state, ResultLineReader::Next next, std::string_view line);
// Closes the output; false when not everything reached it.
bool CloseFileDownloadOutput(ResultImportState& state);

// The session date the import works with.
Date ImportSessionDate(const ActionInfo& action);

}  // namespace kvqt
