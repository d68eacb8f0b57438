// The records of the binary formats that keep one file per symbol and no
// master: Koersbase II (id 6, ".kbf"), Hermes intraday (id 22, ".kbt") and
// the legacy layouts of ids 1 (".mm" + period letter) and 7 (".hdf").
//   id 6, 14 bytes: packed date (two-digit year), high, low, close (three-byte
//         prices), volume (three-byte volume; 0 stored as 1, at most 16,000,000)
//   id 22, 20 bytes: day number since 30 December 1899 with the time of day as
//         its fraction (IEEE double), price (IEEE double), volume (32-bit)
//   id 1, 100-byte header, then 20 bytes: date (32-bit YYMMDD), volume, high,
//         low, close (IEEE singles)
//   id 7, 43 bytes: 6, the date as the text YYMMDD, then open, high, low,
//         close, volume and open interest (0) as six-byte reals
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "formats/price_record.h"

namespace kvqt::symbolfile {

inline constexpr std::size_t kMaxRecordSize = 43;
inline constexpr std::size_t kMmHeaderSize = 100;
inline constexpr std::int32_t kMaxKbfVolume = 16000000;
// The 16-bit count of an id 1 header bounds its records.
inline constexpr std::int32_t kMaxMmRecords = 0xFFFF;

// 0 for ids that are not of this kind.
std::size_t RecordSize(int formatId);
// The bytes before the first record (id 1: its header).
std::size_t HeaderSize(int formatId);

void EncodeRecord(int formatId, const PriceRecord& record, unsigned char* out);
// Fields a format does not keep: open 0 (ids 1, 6); open, high and low the
// price (id 22).
void DecodeRecord(int formatId, const unsigned char* in, PriceRecord& record);

// The day number of a date and time: whole days since 30 December 1899, the
// time of day as the fraction. It depends on the calendar date only, never on
// the time zone.
double DayNumber(Date date, Time time);
// Back to date and time, rounded to the second; false (null date and time)
// for a number that is no date.
bool FromDayNumber(double dayNumber, Date& date, Time& time);

// The header of an id 1 file.
struct MmHeader {
  std::string symbol;  // from byte 1, up to its terminator (at most 8 characters written)
  std::int32_t count = 0;  // bytes 11-12
  Date firstDate;      // bytes 13-16, YYMMDD
  Date lastDate;       // bytes 17-20, YYMMDD
  char period = 0;     // byte 21
};
void ReadMmHeader(const unsigned char* in100, MmHeader& header);
// Writes the fields into an existing header, leaving its other bytes.
void WriteMmHeader(const MmHeader& header, unsigned char* inOut100);

}  // namespace kvqt::symbolfile
