// MetaStock price records: fields x 4 bytes, every value an MBF float.
//   daily (ids 3, 4):  DATE [OPEN] HIGH LOW CLOSE VOL [OI]     5 to 7 fields
//   intraday (id 20):  DATE TIME [OPEN] HIGH LOW CLOSE VOL [OI] 6 to 8 fields
// DATE is the CYYMMDD number, TIME HHMMSS; OI is written as 0 and not read.
#pragma once

#include "formats/price_record.h"

namespace kvqt::metastock {

bool IsIntraday(int formatId);
// The field counts the format id's entries may have.
bool IsValidFieldCount(int formatId, int fields);
void EncodeRecord(const PriceRecord& record, int fields, bool intraday, unsigned char* out);
void DecodeRecord(const unsigned char* in, int fields, bool intraday, PriceRecord& record);

}  // namespace kvqt::metastock
