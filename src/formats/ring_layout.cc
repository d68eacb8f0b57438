#include "formats/ring_layout.h"

#include "formats/three_byte_codec.h"
#include "platform/little_endian.h"

namespace kvqt::ring {
namespace {

struct Fields {
  bool highLow, close, volume, open, openInterest;
};

// Indexed by the type's low part 1..10.
constexpr Fields kFields[11] = {
    {false, false, false, false, false},  // 0: no records
    {true, true, true, false, false},     // 1
    {true, false, true, false, false},    // 2
    {true, true, false, false, false},    // 3
    {true, false, false, false, false},   // 4
    {false, true, true, false, false},    // 5
    {false, true, false, false, false},   // 6
    {false, false, true, false, false},   // 7
    {true, true, true, true, false},      // 8
    {true, true, true, false, true},      // 9
    {true, true, true, true, true},       // 10
};

// The low part 1..10 of a supported type, else 0; `wide` for 257-266.
int Kind(std::int32_t fileType, bool& wide) {
  wide = fileType > 256;
  int kind = wide ? fileType - 256 : fileType;
  return kind >= 1 && kind <= 10 ? kind : 0;
}

// Writes the number fields of one record in layout order.
class FieldWriter {
 public:
  FieldWriter(unsigned char* p, bool wide) : p_(p), wide_(wide) {}
  void price(float v) {
    if (wide_)
      platform::PutLeFloat(p_, v);
    else
      PutThreeBytePrice(p_, v);
    p_ += wide_ ? 4 : 3;
  }
  void volume(float v) {
    if (wide_)
      platform::PutLeFloat(p_, v);
    else
      PutThreeByteVolume(p_, v, kMaxVolume);
    p_ += wide_ ? 4 : 3;
  }

 private:
  unsigned char* p_;
  bool wide_;
};

// Reads them back.
class FieldReader {
 public:
  FieldReader(const unsigned char* p, bool wide) : p_(p), wide_(wide) {}
  float price() {
    float v = wide_ ? platform::GetLeFloat(p_) : GetThreeBytePrice(p_);
    p_ += wide_ ? 4 : 3;
    return v;
  }
  float volume() {
    float v = wide_ ? platform::GetLeFloat(p_) : static_cast<float>(GetThreeByteVolume(p_));
    p_ += wide_ ? 4 : 3;
    return v;
  }

 private:
  const unsigned char* p_;
  bool wide_;
};

}  // namespace

std::size_t RecordSize(std::int32_t fileType) {
  bool wide;
  int kind = Kind(fileType, wide);
  if (kind == 0) return 0;
  const Fields& f = kFields[kind];
  std::size_t number = wide ? 4 : 3;
  std::size_t size = wide ? 4 : 2;
  if (f.highLow) size += 2 * number;
  if (f.close) size += number;
  if (f.volume) size += number;
  if (f.open) size += number;
  if (f.openInterest) size += number;
  return size;
}

void EncodeRecord(const PriceRecord& record, std::int32_t fileType, unsigned char* out) {
  bool wide;
  int kind = Kind(fileType, wide);
  if (kind == 0) return;
  const Fields& f = kFields[kind];
  if (wide)
    record.date.toBinary4(out);
  else
    record.date.toPacked2(out);
  FieldWriter w(out + (wide ? 4 : 2), wide);
  if (f.highLow) {
    w.price(record.high);
    w.price(record.low);
  }
  if (f.close) w.price(record.close);
  if (f.volume) w.volume(record.volume);
  if (f.open) w.price(record.open);
  if (f.openInterest) w.volume(0);
}

Date DecodeDate(const unsigned char* in, std::int32_t fileType) {
  bool wide;
  if (Kind(fileType, wide) == 0) return Date();
  return wide ? Date::FromBinary4(in) : Date::FromPacked2(in);
}

void DecodeRecord(const unsigned char* in, std::int32_t fileType, PriceRecord& record) {
  record = PriceRecord();
  bool wide;
  int kind = Kind(fileType, wide);
  if (kind == 0) return;
  const Fields& f = kFields[kind];
  record.date = DecodeDate(in, fileType);
  FieldReader r(in + (wide ? 4 : 2), wide);
  if (f.highLow) {
    record.high = r.price();
    record.low = r.price();
  }
  if (f.close) record.close = r.price();
  if (f.volume) record.volume = r.volume();
  if (f.open) record.open = r.price();
  if (record.high == 0) record.high = record.close;
  if (record.low == 0) record.low = record.close;
  if (record.open == 0) record.open = record.close;
}

}  // namespace kvqt::ring
