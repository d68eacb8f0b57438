// The records of the Technical Investor and TopVest ring files. The file type
// names the fields a record holds; types 1-10 store packed two-byte dates and
// three-byte numbers, types 257-266 (type 256 + 1-10) four-byte dates and IEEE
// singles. Fields, in this order, each only for the types listed:
//   date                    all
//   high, low               1, 2, 3, 4, 8, 9, 10
//   close                   1, 3, 5, 6, 8, 9, 10
//   volume                  1, 2, 5, 7, 8, 9, 10
//   open                    8, 10
//   open interest           9, 10 (written 0, not read)
#pragma once

#include <cstddef>
#include <cstdint>

#include "formats/price_record.h"

namespace kvqt::ring {

inline constexpr std::size_t kMaxRecordSize = 28;
// The largest volume the three-byte form is given.
inline constexpr std::int32_t kMaxVolume = 7000000;

// 0 for the types the files cannot have (0, 11-256, above 266).
std::size_t RecordSize(std::int32_t fileType);
inline bool IsSupportedType(std::int32_t fileType) { return RecordSize(fileType) != 0; }

// `out` holds RecordSize(fileType) bytes.
void EncodeRecord(const PriceRecord& record, std::int32_t fileType, unsigned char* out);
// High, low and open that come out 0 take the close.
void DecodeRecord(const unsigned char* in, std::int32_t fileType, PriceRecord& record);
// Only the date, for the first record of a scan.
Date DecodeDate(const unsigned char* in, std::int32_t fileType);

}  // namespace kvqt::ring
