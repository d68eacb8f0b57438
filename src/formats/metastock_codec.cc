#include "formats/metastock_codec.h"

#include <cstring>

#include "datetime/mbf.h"

namespace kvqt::metastock {

bool IsIntraday(int formatId) { return formatId == 20; }

bool IsValidFieldCount(int formatId, int fields) {
  return IsIntraday(formatId) ? fields >= 6 && fields <= 8 : fields >= 5 && fields <= 7;
}

void EncodeRecord(const PriceRecord& r, int fields, bool intraday, unsigned char* out) {
  std::memset(out, 0, static_cast<std::size_t>(fields) * 4);
  unsigned char* p = out;
  r.date.toMbfCYYMMDD(p);
  p += 4;
  int base = 1;
  if (intraday) {
    r.time.toMbf(p);
    p += 4;
    base = 2;
  }
  if (fields - base >= 5) {
    FloatToMbf(r.open, p);
    p += 4;
  }
  for (float value : {r.high, r.low, r.close, r.volume}) {
    FloatToMbf(value, p);
    p += 4;
  }
  // Open interest stays zero.
}

void DecodeRecord(const unsigned char* in, int fields, bool intraday, PriceRecord& r) {
  const unsigned char* p = in;
  r.date = Date::FromMbfCYYMMDD(p);
  p += 4;
  int base = 1;
  r.time = Time();
  if (intraday) {
    r.time = Time::FromMbf(p);
    p += 4;
    base = 2;
  }
  r.open = 0;
  if (fields - base >= 5) {
    r.open = MbfToFloat(p);
    p += 4;
  }
  r.high = MbfToFloat(p);
  r.low = MbfToFloat(p + 4);
  r.close = MbfToFloat(p + 8);
  r.volume = MbfToFloat(p + 12);
}

}  // namespace kvqt::metastock
