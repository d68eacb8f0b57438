// Byte layout of master.dat, the index of the Technical Investor and TopVest
// ring files: 80-byte records, the first a header (it starts with '!'); a
// record whose first byte is 0 is free. Entry record:
//    0  8  symbol, blank-padded
//    8 20  name, blank-padded
//   28  2  file type           30  2  record count
//   32  2  ring size           34  2  last date, packed (year - 1900)
//   36  1  file letter         37  1  0
//   38  2  ring start + 1      40  4  last close, MBF
//   44  4  MBF -1e9           48 15  zero
//   63  8  MBF -1e9 twice     71  2  zero
//   73  7  blanks
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "formats/datafile_entry.h"

namespace kvqt::masterdat {

inline constexpr const char* kFileName = "master.dat";
inline constexpr std::size_t kRecordSize = 80;
inline constexpr std::size_t kSymbolSize = 8;
inline constexpr std::size_t kNameSize = 20;

inline constexpr std::size_t kSymbol = 0;
inline constexpr std::size_t kName = 8;
inline constexpr std::size_t kFileType = 28;
inline constexpr std::size_t kCount = 30;
inline constexpr std::size_t kRingSize = 32;
inline constexpr std::size_t kLastDate = 34;
inline constexpr std::size_t kFileLetter = 36;
inline constexpr std::size_t kRingStart = 38;
inline constexpr std::size_t kLastClose = 40;

// The 16-bit count and ring-size fields bound a ring.
inline constexpr std::int32_t kMaxRingSize = 0xFFFF;

void NewHeader(unsigned char* out80);
inline bool IsHeader(const unsigned char* record) { return record[0] == '!'; }
inline bool IsFree(const unsigned char* record) { return record[0] == 0; }

// The template record with the entry's symbol, name, file type, ring size,
// file letter, count and ring start.
void NewRecord(const DatafileEntry& entry, unsigned char* out80);
// Whether the record holds this symbol, all eight blank-padded bytes compared.
bool HoldsSymbol(const unsigned char* record, const std::string& symbol);
// Symbol and name (trailing blanks and control characters removed), file type,
// count, ring size, last date, file letter, ring start and last close. A
// stored ring start of 0 reads as 0.
void ReadRecord(const unsigned char* record, DatafileEntry& entry);
// Writes back what the writers change: symbol, name (when not empty), file
// type, count, ring size, last date, file letter, ring start, last close.
void FinalizeRecord(const DatafileEntry& entry, unsigned char* record);

}  // namespace kvqt::masterdat
