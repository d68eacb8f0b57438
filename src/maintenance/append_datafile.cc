// Append: the source records newer than the destination's last record are
// added to the destination data file.
#include "app/core/messages.h"
#include "app/model/datafile.h"
#include "app/model/directory.h"
#include "formats/driver_table.h"
#include "maintenance/convert_datafile.h"
#include "maintenance/datafile_lookup.h"
#include "maintenance/record_copy.h"
#include "maintenance/same_directory.h"

namespace kvqt {
namespace {

// Opens the source for reading and places it as near before the first record
// after the destination's last one as the seek hint allows. The hint takes
// one record per calendar day between the two last dates: gaps (weekends,
// holidays) make it land early, which only costs reading a few old records.
// It lands too late when the source has more records than days (a stale
// count, several records a day, intraday data); the record before the hint
// then is newer than the destination's last, and the reading starts again
// from the first record.
int OpenSourceAfter(const DatafileEntry& source, DatafileEntry& reading, DatafileHandle& handle, int formatId,
                    const Format* format, const std::string& path, const DatafileEntry& destination,
                    int destinationFormatId) {
  reading = source;
  if (OpenDatafile(reading, handle, formatId, OpenMode::kRead, path) != 0) return -1;
  const Date after = destination.lastDate;
  if (after.isNull()) return 0;

  const std::int32_t records = PriceRecordCount(source, formatId);
  const std::int32_t headers = source.recordCount - records;
  const long days = source.lastDate.daysBetween(after);
  if (records <= 0 || days <= 0) return 0;
  // One record before the hint: it shows whether the hint came early enough.
  const long before = static_cast<long>(records) - days - 1;
  if (before <= 0) return 0;

  PriceRecord record;
  if (PositionAtRecord(reading, handle, formatId, static_cast<std::int32_t>(before) + headers) == 0 &&
      ReadRecord(reading, handle, record, formatId, format) == 0 && record.date.value() != 0 &&
      Moment(record.date, record.time, destinationFormatId) <=
          Moment(after, destination.lastTime, destinationFormatId))
    return 0;
  CloseDatafile(handle);
  reading = source;
  return OpenDatafile(reading, handle, formatId, OpenMode::kRead, path);
}

// Whether the source has records after the destination's last one.
bool HasNewer(const DatafileEntry& source, const DatafileEntry& destination, int destinationFormatId) {
  if (source.lastDate.isNull()) return false;
  return destination.lastDate.isNull() || Moment(source.lastDate, source.lastTime, destinationFormatId) >
                                              Moment(destination.lastDate, destination.lastTime, destinationFormatId);
}

}  // namespace

int appendDatafile(int sourceFormatId, int destinationFormatId, Format* sourceFormat, Directory* sourceDirectory,
                   Format* destinationFormat, Directory* destinationDirectory, Datafile* datafile) {
  if (!sourceDirectory) {
    message(kIllegalSourceDirectoryText);
    return 0;
  }
  if (!destinationDirectory) {
    message(kIllegalDestinationDirectoryText);
    return 0;
  }
  if (SameDirectory(sourceDirectory->name(), destinationDirectory->name())) {
    message(kSameDirectoryText);
    return 0;
  }
  if (!datafile) {
    message(kIllegalDestinationSymbolText);
    return 0;
  }
  const std::string sourcePath = DirectoryPath(*sourceDirectory);
  const std::string destinationPath = DirectoryPath(*destinationDirectory);

  // The destination's count places its appended records (MetaStock keeps it
  // in the data file's header); the source's is the seek hint's base.
  DatafileEntry destination;
  if (LookupEntry(datafile->symbol(), destination, destinationFormatId, *destinationDirectory, kScanReadHeader) != 0)
    return 1;
  DatafileEntry source;
  const int sourceFlags = StorageKindOf(sourceFormatId) == StorageKind::kMetaStock ? kScanReadHeader : 0;
  if (LookupEntry(destination.symbol, source, sourceFormatId, *sourceDirectory, sourceFlags) != 0) return 1;
  if (!HasNewer(source, destination, destinationFormatId)) return 1;

  DatafileEntry reading;
  DatafileHandle sourceHandle;
  if (OpenSourceAfter(source, reading, sourceHandle, sourceFormatId, sourceFormat, sourcePath, destination,
                      destinationFormatId) != 0) {
    message2(kErrorOpeningSourceText, source.symbol);
    return 0;
  }
  DatafileHandle destinationHandle;
  if (OpenDatafile(destination, destinationHandle, destinationFormatId, OpenMode::kAppend, destinationPath) != 0) {
    CloseDatafile(sourceHandle);
    message2(kErrorOpeningDestinationText, destination.symbol);
    return 0;
  }

  CopyEnd end = CopyNewerRecords({reading, sourceHandle, sourceFormatId, sourceFormat},
                                 {destination, destinationHandle, destinationFormatId, destinationFormat}, Date());
  CloseDatafile(sourceHandle);
  DatafileUpdate update(datafile);
  if (FinalizeDirectory(destination, destinationHandle, destinationFormatId, destinationPath, &update) != 0 &&
      end == CopyEnd::kSourceEnded)
    end = CopyEnd::kWriteFailed;
  ReportCopyEnd(end, destination.symbol);
  return end == CopyEnd::kSourceEnded ? 1 : 0;
}

}  // namespace kvqt
