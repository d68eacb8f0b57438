// master.kvq, the index of a directory of text data files: a 91-byte header
// (four bytes of value 20, the format id at 30, the entry count at 49) and one
// 91-byte record per instrument. Also the two layouts it replaced: the legacy
// "master.bin" and the former headerless master.kvq of 22-byte records.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "formats/binary_file.h"
#include "formats/datafile_entry.h"

namespace kvqt::ascii_index {

inline constexpr const char* kIndexName = "master.kvq";
inline constexpr const char* kLegacyName = "master.bin";
inline constexpr const char* kFormerCopyName = "master.old";

inline constexpr std::size_t kHeaderSize = 91;
inline constexpr std::size_t kRecordSize = 91;
inline constexpr std::uint8_t kMarker = 20;

// Header offsets.
inline constexpr std::size_t kFormatIdAt = 30;
inline constexpr std::size_t kCountAt = 49;

// Record offsets.
inline constexpr std::size_t kSymbolAt = 0;
inline constexpr std::size_t kSymbolSize = 9;  // 8 characters and a terminator
inline constexpr std::size_t kNameAt = 9;
inline constexpr std::size_t kNameSize = 41;   // 40 characters and a terminator
inline constexpr std::size_t kPeriodAt = 50;
inline constexpr std::size_t kIntervalAt = 51;
inline constexpr std::size_t kFirstDateAt = 53;
inline constexpr std::size_t kFirstTimeAt = 57;
inline constexpr std::size_t kLastDateAt = 61;
inline constexpr std::size_t kLastTimeAt = 65;
inline constexpr std::size_t kCountFieldAt = 69;

// Older layouts.
inline constexpr std::size_t kLegacyRecordSize = 51;  // master.bin, after a header of the same size
inline constexpr std::size_t kFormerRecordSize = 22;  // headerless master.kvq

// The record offset of entry slot i (0-based).
inline constexpr std::int64_t RecordOffset(std::int64_t i) {
  return static_cast<std::int64_t>(kHeaderSize) + i * static_cast<std::int64_t>(kRecordSize);
}

std::string EncodeHeader(int formatId, int count);

enum class HeaderCheck { kFits, kFormerLayout, kOtherFormat, kDamaged };
// What the first `size` bytes of an index say about it for `formatId`.
HeaderCheck CheckHeader(const unsigned char* header, std::size_t size, int formatId);

// The record of an entry, every field written (name included).
std::string EncodeRecord(const DatafileEntry& entry);
// Writes the fields a finished entry updates into a record: symbol, the name
// unless it is empty, period, interval, dates, times and count.
void UpdateRecord(const DatafileEntry& entry, unsigned char* record);
// False for an empty record (first byte 0). Symbol, name, period, interval,
// dates, times and count; the rest of `entry` is left as it is.
bool DecodeRecord(const unsigned char* record, DatafileEntry& entry);
// The record's symbol as a scan compares it.
std::string RecordSymbol(const unsigned char* record);

// Opens the index of `directory` and checks its header for `formatId`:
// "Datadirectory has former ascii format", "Datadirectory has wrong ascii
// format" or "Datadirectory has damaged ascii index" (a header cut short) is
// shown and -1 returned. 0 with `slots`, the whole records the file holds.
// Read-write when possible; read-only when `writable` is false or the file
// cannot be written.
int OpenIndex(BinaryFile& file, int formatId, const std::string& directory, bool writable, std::int64_t& slots);

// Converts "master.bin" into a new master.kvq. 0, or -1 after "opening
// temporary master failed" (or nothing to convert).
int ConvertLegacyIndex(int formatId, const std::string& directory);
// Converts a master.kvq of the former headerless layout in place, keeping
// the old file as "master.old". 0, or -1 after "opening temporary master
// failed" (or when the index is not of the former layout).
int ConvertFormerIndex(int formatId, const std::string& directory);

}  // namespace kvqt::ascii_index
