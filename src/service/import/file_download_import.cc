// A file download: the result's lines go, split into fields, through the
// export-line writer of the output format into the one output file.
#include <cstdio>

#include "app/core/action_info.h"
#include "app/core/logs.h"
#include "app/model/format.h"
#include "app/runner/step_runner.h"
#include "formats/text_export.h"
#include "service/import/import_state.h"
#include "service/import/import_steps.h"
#include "service/request_file.h"

namespace kvqt {
namespace {

constexpr std::size_t kOutputBuffer = 256 * 1024;

}  // namespace

int OpenFileDownloadOutput(StepRunner& runner, ActionInfo& action, ResultImportState& state) {
  state.outputFormat = action.destinationFormat ? action.destinationFormat : action.sourceFormat;
  state.outputFormatId = state.outputFormat ? state.outputFormat->formatId() : -1;
  if (action.kind == kFileSelectDirectory || action.kind == kFileSelectSymbol)
    state.names.directory = action.sourceDirectory;
  else if (action.kind == kFileSelectList)
    state.names.list = action.list;
  // The writers end their lines in CR LF themselves.
  state.output = action.outputFile.empty() ? nullptr : std::fopen(action.outputFile.c_str(), "wbe");
  if (!state.output) {
    runner.error("Failed to open data file");
    return kStepErrorShown;
  }
  std::setvbuf(state.output, nullptr, _IOFBF, kOutputBuffer);
  return kStepGoOn;
}

void ImportFileDownloadLine(ResultImportState& state, ResultLineReader::Next next, std::string_view line) {
  if (IsChangeDirectoryLine(line) || line.empty() || !state.output) return;
  if (next == ResultLineReader::Next::kTooLong) {
    if (Logs::DebugMode()) debug2("Line too long in actionPostDatafile:", line);
    return;
  }
  std::string text = ExportFieldsLine(state.outputFormatId, state.outputFormat, SplitExportFields(line), state.names);
  if (!text.empty()) std::fwrite(text.data(), 1, text.size(), state.output);
}

bool CloseFileDownloadOutput(ResultImportState& state) {
  if (!state.output) return true;
  bool ok = std::ferror(state.output) == 0;
  ok = std::fclose(state.output) == 0 && ok;
  state.output = nullptr;
  return ok;
}

}  // namespace kvqt
