// "Query from": each symbol line of the definition file sends the records of
// that symbol's data file in the source directory, between its start and end
// date, into the output file through the output format's record writer.
#include "maintenance/query_from_step.h"

#include <cstdio>
#include <string>

#include "app/core/action_info.h"
#include "app/model/directory.h"
#include "app/model/format.h"
#include "formats/text_export.h"
#include "maintenance/datafile_lookup.h"
#include "maintenance/definition_line.h"

namespace kvqt {
namespace {

// Without an output format the records are written as comma-delimited ASCII.
constexpr int kDefaultOutputId = 5;

// The definition file and the output file stay open from the first step to
// the last. A run that ends early (cancel, an error) leaves them open; the
// next run closes them before it opens its own.
struct QueryFiles {
  std::FILE* definition = nullptr;
  std::FILE* output = nullptr;
  bool close() {
    bool ok = true;
    if (definition) std::fclose(definition);
    if (output) {
      ok = std::ferror(output) == 0;
      ok = std::fclose(output) == 0 && ok;
    }
    definition = output = nullptr;
    return ok;
  }
};

QueryFiles& Files() {
  static QueryFiles files;
  return files;
}

// The next line without its line end, cut to kMaxDefinitionLine characters;
// false at the end of the file.
bool ReadLine(std::FILE* file, std::string& line) {
  line.clear();
  int c = std::fgetc(file);
  if (c == EOF) return false;
  for (; c != EOF && c != '\n'; c = std::fgetc(file))
    if (line.size() < kMaxDefinitionLine) line += static_cast<char>(c);
  if (!line.empty() && line.back() == '\r') line.pop_back();
  return true;
}

int OpenFiles(StepRunner& runner, const ActionInfo& action) {
  QueryFiles& files = Files();
  files.close();
  files.definition = action.definitionFile.empty() ? nullptr : std::fopen(action.definitionFile.c_str(), "rbe");
  if (!files.definition) {
    runner.error("Error opening requestfile");
    return kStepErrorShown;
  }
  // The record writer ends its lines in CR LF itself.
  files.output = action.outputFile.empty() ? nullptr : std::fopen(action.outputFile.c_str(), "wbe");
  if (!files.output) {
    files.close();
    runner.errorText("Error opening outputfile", action.outputFile);
    return kStepErrorShown;
  }
  return kStepGoOn;
}

void WriteRecords(const ActionInfo& action, const DefinitionLine& line, std::FILE* output) {
  Directory* directory = action.sourceDirectory;
  if (!directory) return;
  const int sourceId = action.sourceFormat ? action.sourceFormat->formatId() : directory->formatId();
  const Format* outputFormat = action.destinationFormat;
  const int outputId = outputFormat ? outputFormat->formatId() : kDefaultOutputId;

  DatafileEntry entry;
  if (LookupEntry(line.symbol, entry, sourceId, *directory) != 0) return;
  DatafileHandle handle;
  if (OpenDatafile(entry, handle, sourceId, OpenMode::kRead, DirectoryPath(*directory)) != 0) return;
  PriceRecord record;
  while (ReadRecord(entry, handle, record, sourceId, action.sourceFormat) == 0) {
    const std::int32_t date = record.date.value();
    if (!line.end.isNull() && date > line.end.value()) break;
    if (date < line.start.value()) continue;
    std::string text = ExportRecordLine(outputId, outputFormat, line.symbol, record);
    std::fwrite(text.data(), 1, text.size(), output);
  }
  CloseDatafile(handle);
}

}  // namespace

int queryFromStep(StepRunner& runner, ActionInfo& action, int&) {
  QueryFiles& files = Files();
  if (runner.counter() == 0) {
    runner.statusText("Query from", action.sourceFormat ? action.sourceFormat->name() : std::string());
    int rc = OpenFiles(runner, action);
    if (rc != kStepGoOn) return rc;
    runner.next();
    return kStepGoOn;
  }
  if (!files.definition || !files.output) {
    runner.error("Error opening requestfile");
    return kStepErrorShown;
  }

  std::string text;
  if (!ReadLine(files.definition, text)) {
    runner.line2("");
    runner.next();
    if (!files.close()) {
      runner.errorText("Error writing outputfile", action.outputFile);
      return kStepErrorShown;
    }
    return kStepFinished;
  }
  DefinitionLine line;
  if (!ParseDefinitionLine(text, line)) return kStepGoOn;
  runner.line2(line.symbol);
  if (line.start.isNull()) {
    files.close();
    runner.error("Illegal startdate");
    return kStepErrorShown;
  }
  WriteRecords(action, line, files.output);
  // What was written so far is on disk even when the run is cancelled.
  std::fflush(files.output);
  return kStepGoOn;
}

}  // namespace kvqt
