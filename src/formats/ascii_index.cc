#include "formats/ascii_index.h"

#include <cstring>

#include "app/core/messages.h"
#include "formats/file_locator.h"
#include "platform/atomic_file.h"
#include "platform/little_endian.h"

namespace kvqt::ascii_index {
namespace {

void PutText(unsigned char* field, std::size_t size, const std::string& text) {
  std::memset(field, 0, size);
  std::size_t n = text.size() < size - 1 ? text.size() : size - 1;
  std::memcpy(field, text.data(), n);
}

// Up to `size` characters, ending at the first NUL.
std::string GetText(const unsigned char* field, std::size_t size) {
  std::size_t n = 0;
  while (n < size && field[n] != 0) ++n;
  return std::string(reinterpret_cast<const char*>(field), n);
}

void PutDate(unsigned char* at, Date date) { platform::PutLe32(at, static_cast<std::uint32_t>(date.value())); }
void PutTime(unsigned char* at, Time time) { platform::PutLe32(at, static_cast<std::uint32_t>(time.value())); }

int CannotWriteTemporary() {
  message("opening temporary master failed");
  return -1;
}

// A converted entry as a new record; the count is kept within the 16 bits
// the older layouts had anyway.
std::string ConvertedRecord(const std::string& symbol, const std::string& name, char period,
                            std::uint16_t interval, Date first, Time firstTime, Date last, Time lastTime,
                            std::int32_t count) {
  DatafileEntry e;
  SetEntrySymbol(e, symbol);
  SetEntryName(e, name);
  e.period = period;
  e.interval = interval;
  e.firstDate = first;
  e.firstTime = firstTime;
  e.lastDate = last;
  e.lastTime = lastTime;
  e.recordCount = count;
  return EncodeRecord(e);
}

}  // namespace

std::string EncodeHeader(int formatId, int count) {
  std::string header(kHeaderSize, '\0');
  auto* h = reinterpret_cast<unsigned char*>(header.data());
  for (int i = 0; i < 4; ++i) h[i] = kMarker;
  h[kFormatIdAt] = static_cast<unsigned char>(formatId);
  platform::PutLe16(h + kCountAt, static_cast<std::uint32_t>(count < 0 ? 0 : count > 0xFFFF ? 0xFFFF : count));
  return header;
}

HeaderCheck CheckHeader(const unsigned char* header, std::size_t size, int formatId) {
  if (size < 2 || header[0] != kMarker || header[1] != kMarker) return HeaderCheck::kFormerLayout;
  if (size < kHeaderSize) return HeaderCheck::kDamaged;
  if (header[kFormatIdAt] != static_cast<unsigned char>(formatId)) return HeaderCheck::kOtherFormat;
  return HeaderCheck::kFits;
}

std::string EncodeRecord(const DatafileEntry& entry) {
  std::string record(kRecordSize, '\0');
  auto* r = reinterpret_cast<unsigned char*>(record.data());
  PutText(r + kNameAt, kNameSize, entry.name);
  UpdateRecord(entry, r);
  return record;
}

void UpdateRecord(const DatafileEntry& entry, unsigned char* r) {
  PutText(r + kSymbolAt, kSymbolSize, entry.symbol);
  if (!entry.name.empty()) PutText(r + kNameAt, kNameSize, entry.name);
  r[kPeriodAt] = static_cast<unsigned char>(entry.period);
  platform::PutLe16(r + kIntervalAt, entry.interval);
  PutDate(r + kFirstDateAt, entry.firstDate);
  PutTime(r + kFirstTimeAt, entry.firstTime);
  PutDate(r + kLastDateAt, entry.lastDate);
  PutTime(r + kLastTimeAt, entry.lastTime);
  platform::PutLe32(r + kCountFieldAt, static_cast<std::uint32_t>(entry.recordCount));
}

std::string RecordSymbol(const unsigned char* record) {
  return PadAndTrim(GetText(record + kSymbolAt, kSymbolSize), kEntrySymbolSize);
}

bool DecodeRecord(const unsigned char* r, DatafileEntry& entry) {
  if (r[kSymbolAt] == 0) return false;
  entry.symbol = RecordSymbol(r);
  entry.name = PadAndTrim(GetText(r + kNameAt, kNameSize), kNameSize - 1);
  entry.period = static_cast<char>(r[kPeriodAt]);
  entry.interval = platform::GetLe16(r + kIntervalAt);
  entry.firstDate = Date::FromValue(platform::GetLeI32(r + kFirstDateAt));
  entry.firstTime = Time::FromInt(platform::GetLeI32(r + kFirstTimeAt));
  entry.lastDate = Date::FromValue(platform::GetLeI32(r + kLastDateAt));
  entry.lastTime = Time::FromInt(platform::GetLeI32(r + kLastTimeAt));
  std::int32_t count = platform::GetLeI32(r + kCountFieldAt);
  entry.recordCount = count < -1 ? -1 : count;
  return true;
}

int OpenIndex(BinaryFile& file, int formatId, const std::string& directory, bool writable, std::int64_t& slots) {
  std::string path = FindExistingFile(directory, kIndexName);
  if (path.empty()) return -1;
  int rc = writable ? file.openExisting(path, true) : -1;
  if (rc != 0) rc = file.openExisting(path, false);
  if (rc != 0) return -1;
  unsigned char header[kHeaderSize];
  std::int64_t got = file.readAt(0, header, sizeof header);
  switch (CheckHeader(header, got < 0 ? 0 : static_cast<std::size_t>(got), formatId)) {
    case HeaderCheck::kFits:
      break;
    case HeaderCheck::kFormerLayout:
      message("Datadirectory has former ascii format");
      file.close();
      return -1;
    case HeaderCheck::kOtherFormat:
      message("Datadirectory has wrong ascii format");
      file.close();
      return -1;
    case HeaderCheck::kDamaged:
      message("Datadirectory has damaged ascii index");
      file.close();
      return -1;
  }
  std::int64_t size = file.size();
  slots = size < static_cast<std::int64_t>(kHeaderSize) ? 0 : (size - kHeaderSize) / kRecordSize;
  return 0;
}

int ConvertLegacyIndex(int formatId, const std::string& directory) {
  std::string legacy = FindExistingFile(directory, kLegacyName);
  std::string bytes;
  if (legacy.empty() || !platform::ReadWholeFile(legacy, bytes)) return -1;
  std::string records;
  int count = 0;
  const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
  for (std::size_t at = kLegacyRecordSize; at + kLegacyRecordSize <= bytes.size() && count < 0xFFFF;
       at += kLegacyRecordSize) {
    const unsigned char* r = p + at;
    if (r[0] == 0) continue;
    Time midnight(0, 0, 0);
    records += ConvertedRecord(GetText(r, 8), GetText(r + 9, 20), static_cast<char>(r[30]),
                               platform::GetLe16(r + 31), Date::FromFloat(platform::GetLeFloat(r + 33)), midnight,
                               Date::FromFloat(platform::GetLeFloat(r + 37)), midnight, platform::GetLe16(r + 49));
    ++count;
  }
  DirectoryChange change(directory);
  if (!platform::WriteFileAtomically(directory + kIndexName, EncodeHeader(formatId, count) + records))
    return CannotWriteTemporary();
  change.created(kIndexName);
  return 0;
}

int ConvertFormerIndex(int formatId, const std::string& directory) {
  std::string index = FindExistingFile(directory, kIndexName);
  std::string bytes;
  if (index.empty() || !platform::ReadWholeFile(index, bytes)) return -1;
  const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
  if (CheckHeader(p, bytes.size(), formatId) != HeaderCheck::kFormerLayout) return -1;
  std::string records;
  int count = 0;
  for (std::size_t at = 0; at + kFormerRecordSize <= bytes.size() && count < 0xFFFF; at += kFormerRecordSize) {
    const unsigned char* r = p + at;
    if (r[0] == 0) continue;
    std::string symbol = GetText(r, kSymbolSize - 1);
    records += ConvertedRecord(symbol, symbol, 'D', 0, Date::FromInt(platform::GetLeI32(r + 10)), Time(),
                               Date::FromInt(platform::GetLeI32(r + 14)), Time(), platform::GetLe16(r + 18));
    ++count;
  }
  // The old index is kept beside the new one; the new one replaces it in one step.
  DirectoryChange change(directory);
  if (!platform::WriteFileAtomically(LocateFile(directory, kFormerCopyName), bytes)) return CannotWriteTemporary();
  change.created(kFormerCopyName);
  if (!platform::WriteFileAtomically(index, EncodeHeader(formatId, count) + records)) return CannotWriteTemporary();
  return 0;
}

}  // namespace kvqt::ascii_index
