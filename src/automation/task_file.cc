#include "automation/task_file.h"

#include <string>

#include "app/core/action_info.h"
#include "app/core/compose.h"
#include "app/model/directory.h"
#include "app/model/formats.h"
#include "automation/task_dispatch.h"
#include "automation/task_line_parse.h"

namespace kvqt {

void prepareTaskFile(ActionInfo& action, std::FILE* file) {
  if (action.taskFile != file) closeTaskFile(action);
  action.taskFile = file;
  action.taskFileFlag = true;
  SetTaskFileStep(interpretTaskFile);
}

void startTaskFile(StepRunner& runner, ActionInfo& action, std::FILE* file) {
  prepareTaskFile(action, file);
  runner.setStep(interpretTaskFile, 1);
}

void closeTaskFile(ActionInfo& action) {
  if (action.taskFile != nullptr) std::fclose(action.taskFile);
  action.taskFile = nullptr;
  action.taskFileFlag = false;
}

int StopTask(StepRunner& runner, ActionInfo& action, std::string_view message) {
  runner.error(message);
  closeTaskFile(action);
  return kStepErrorShown;
}

int StopTask(StepRunner& runner, ActionInfo& action, std::string_view message, std::string_view text) {
  return StopTask(runner, action, compose2(message, text));
}

int CountDataFiles(StepRunner& runner, ActionInfo& action, Directory& directory, int* count) {
  if (directory.refresh() < 0) return StopTask(runner, action, kNoMasterAccess, directory.name());
  *count = directory.size();
  return kStepGoOn;
}

Format* FindFormatWord(const Formats* formats, std::string_view word) {
  if (formats == nullptr || word.empty()) return nullptr;
  if (StartsWithDigit(word)) return formats->findById(LeadingNumber(word));
  return formats->findBySymbol(word);
}

int interpretTaskFile(StepRunner& runner, ActionInfo& action, int& counter) {
  runner.status(kAnalyzingTaskFile, true);
  std::string text;
  if (!ReadTaskLine(action.taskFile, text)) {
    runner.status(kTaskFileFinished, true);
    closeTaskFile(action);
    ++counter;
    return kStepFinished;
  }
  const ParsedTaskLine line = ParseTaskLine(text);
  switch (line.form) {
    case TaskLineForm::Action:
      return RunActionLine(runner, action, line);
    case TaskLineForm::Command:
      return RunCommandLine(runner, action, line);
    case TaskLineForm::Empty:
      break;
  }
  return kStepGoOn;
}

}  // namespace kvqt
