// What a result import keeps from one step to the next: the open result file,
// the directory being written with its master's scan position, the data file
// of the instrument being written, and the full flag. It lives in the
// action's importState from step 0 to the end of the run.
#pragma once

#include <cstdio>
#include <memory>
#include <string>
#include <unordered_map>

#include "formats/master_handles.h"
#include "formats/text_export.h"
#include "service/import/import_datafile.h"
#include "service/import/import_tally.h"
#include "service/import/master_index.h"
#include "service/import/result_line.h"

namespace kvqt {

class Datafile;
class Format;

class ResultImportState {
 public:
  ResultImportState() = default;
  ~ResultImportState();
  ResultImportState(const ResultImportState&) = delete;
  ResultImportState& operator=(const ResultImportState&) = delete;

  // The result file and its reader.
  std::string resultName;
  std::FILE* result = nullptr;
  std::unique_ptr<ResultLineReader> reader;

  // Chart databases (selection kinds 0, 1, 2 and 8).
  Format* format = nullptr;
  int formatId = -1;
  int type = 0;  // without its flags
  bool intraday = false;
  ImportDirectory directory;  // no Directory before the first "CD" when the action has none
  MasterHandles masters;      // keeps the scan position between lookups
  MasterIndex masterIndex;    // where each symbol stands in the directory's master
  // The first Datafile of each symbol of the directory, built on first use.
  std::unordered_map<std::string, Datafile*> datafiles;
  bool datafilesBuilt = false;
  // The symbol of the lines being handled; its data file is `current` when
  // it was found, else its lines are passed over.
  std::string lineSymbol;
  ImportDatafile current;
  bool full = false;
  ImportTally tally;  // what reached the databases, for the summary line

  // File downloads (selection kinds 3 to 7).
  std::FILE* output = nullptr;
  const Format* outputFormat = nullptr;
  int outputFormatId = -1;
  ExportNames names;
};

}  // namespace kvqt
