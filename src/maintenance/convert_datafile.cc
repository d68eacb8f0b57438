// Convert: the destination data file of a symbol is (re)created from the
// source's records on or after the start date.
#include "maintenance/convert_datafile.h"

#include <memory>

#include "app/core/action_info.h"
#include "app/core/messages.h"
#include "app/model/datafile.h"
#include "app/model/directory.h"
#include "maintenance/datafile_lookup.h"
#include "maintenance/new_instrument.h"
#include "maintenance/record_copy.h"
#include "maintenance/same_directory.h"

namespace kvqt {
namespace {

// The Datafile of a new destination entry: the one the model already has
// for the symbol (its master lost the entry), else a new one.
Datafile* DestinationDatafile(Directory& directory, const DatafileEntry& entry, int formatId) {
  if (Datafile* existing = DatafileBySymbol(directory, entry.symbol)) return existing;
  auto created = std::make_unique<Datafile>(entry.symbol, entry.name, formatId);
  created->setPer(entry.period);
  return directory.add(std::move(created));
}

}  // namespace

int convertDatafile(int sourceFormatId, int destinationFormatId, Date startDate, int flags, Format* sourceFormat,
                    Directory* sourceDirectory, Format* destinationFormat, Directory* destinationDirectory,
                    Datafile* datafile) {
  if (!sourceDirectory) {
    message(kIllegalSourceDirectoryText);
    return -1;
  }
  if (!destinationDirectory) {
    message(kIllegalDestinationDirectoryText);
    return -1;
  }
  if (SameDirectory(sourceDirectory->name(), destinationDirectory->name())) {
    message(kSameDirectoryText);
    return -1;
  }
  if (!datafile) {
    message(kIllegalSourceSymbolText);
    return -1;
  }
  const std::string sourcePath = DirectoryPath(*sourceDirectory);
  const std::string destinationPath = DirectoryPath(*destinationDirectory);

  DatafileEntry source;
  if (LookupEntry(datafile->symbol(), source, sourceFormatId, *sourceDirectory) != 0) {
    message2(kSymbolNotInSourceText, datafile->symbol());
    return 0;
  }
  // Where the format names its files after the symbol, a symbol that cannot
  // name one (a slash, as in "BRK/B") would leave an entry without a data
  // file and stop every later run there: it is refused before the
  // destination is touched, and the run goes on.
  if (!SymbolNamesDataFile(source.symbol, destinationFormatId, destinationPath) &&
      SymbolNamesDataFile("A", destinationFormatId, destinationPath)) {
    message2(kErrorCreatingDestinationText, source.symbol);
    return 0;
  }
  DatafileEntry destination;
  const bool exists =
      LookupEntry(source.symbol, destination, destinationFormatId, *destinationDirectory, kScanReadHeader) == 0;
  if (exists && (flags & kConvertSkipExisting) && PriceRecordCount(destination, destinationFormatId) != 0) return 0;

  // The source is opened before the destination is emptied, so a source
  // that cannot be read never costs the destination its records.
  DatafileHandle sourceHandle;
  if (OpenDatafile(source, sourceHandle, sourceFormatId, OpenMode::kRead, sourcePath) != 0) {
    message2(kErrorOpeningSourceText, source.symbol);
    return -1;
  }

  Datafile* target = nullptr;
  if (exists) {
    target = DatafileBySymbol(*destinationDirectory, destination.symbol);
  } else {
    if (AddEntry(source.symbol, source.name, source.period, destination, destinationFormatId, destinationPath) != 0) {
      message2(kErrorCreatingDestinationText, source.symbol);
      return -1;
    }
    destination.interval = source.interval;
    target = DestinationDatafile(*destinationDirectory, destination, destinationFormatId);
    destination.datafile = target;
  }
  DatafileHandle destinationHandle;
  if (OpenDatafile(destination, destinationHandle, destinationFormatId, OpenMode::kCreate, destinationPath) != 0) {
    message2(kErrorOpeningDestinationText, destination.symbol);
    return -1;
  }
  destination.firstDate = Date();
  destination.lastDate = Date();

  CopyEnd end = CopyNewerRecords({source, sourceHandle, sourceFormatId, sourceFormat},
                                 {destination, destinationHandle, destinationFormatId, destinationFormat}, startDate);
  CloseDatafile(sourceHandle);
  DatafileUpdate update(target);
  if (FinalizeDirectory(destination, destinationHandle, destinationFormatId, destinationPath, &update) != 0 &&
      end == CopyEnd::kSourceEnded)
    end = CopyEnd::kWriteFailed;
  ReportCopyEnd(end, destination.symbol);
  // A full data file keeps what it could take; a failed write ends the run.
  return end == CopyEnd::kWriteFailed ? -1 : 0;
}

}  // namespace kvqt
