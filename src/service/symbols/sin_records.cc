#include "service/symbols/sin_records.h"

#include <cstring>

#include "platform/little_endian.h"

namespace kvqt::sdb {
namespace {

using platform::GetLeFloat;
using platform::GetLeI16;
using platform::GetLeI32;
using platform::PutLe16;
using platform::PutLe32;
using platform::PutLeFloat;

// Field offsets of the current records.
namespace item {
constexpr std::size_t kCode = 0, kName = 4, kNameWidth = 41;
}
namespace instrument {
constexpr std::size_t kSincode = 0, kSymbol = 4, kSymbolWidth = 9, kName = 13, kNameWidth = 41, kCurrency = 67,
                      kExchange = 69, kType = 71, kStartDate = 72, kSecondDate = 76;
}
namespace split {
constexpr std::size_t kSincode = 0, kRecordDate = 4, kSymbol = 8, kSymbolWidth = 9, kSplitDate = 17, kFactor = 21,
                      kName = 25, kNameWidth = 41, kApplied = 66;
}

// Dates in the file are trusted only when they are real YYYYMMDD dates.
Date ReadDate(const unsigned char* p) { return Date::FromValue(GetLeI32(p)); }

// The earlier name fields are 36 bytes, of which 35 are kept.
constexpr std::size_t kEarlierNameKept = 35;

}  // namespace

void WriteItem(const SinItem& r, unsigned char* out) {
  std::memset(out, 0, kItemSize);
  PutLe32(out + item::kCode, static_cast<std::uint32_t>(r.code));
  PutFieldText(out + item::kName, item::kNameWidth, r.name.view());
}

void WriteInstrument(const SinInstrument& r, unsigned char* out) {
  using namespace instrument;
  std::memset(out, 0, kInstrumentSize);
  PutLe32(out + kSincode, static_cast<std::uint32_t>(r.sincode));
  PutFieldText(out + kSymbol, kSymbolWidth, r.symbol.view());
  PutFieldText(out + kName, kNameWidth, r.name.view());
  PutLe16(out + kCurrency, static_cast<std::uint16_t>(r.currency));
  PutLe16(out + kExchange, static_cast<std::uint16_t>(r.exchange));
  out[kType] = r.security_type;
  PutLe32(out + kStartDate, static_cast<std::uint32_t>(r.start_date.value()));
  PutLe32(out + kSecondDate, static_cast<std::uint32_t>(r.second_date.value()));
}

void WriteSplitFactor(const SinSplitFactor& r, unsigned char* out) {
  using namespace split;
  std::memset(out, 0, kSplitFactorSize);
  PutLe32(out + kSincode, static_cast<std::uint32_t>(r.sincode));
  PutLe32(out + kRecordDate, static_cast<std::uint32_t>(r.record_date.value()));
  PutFieldText(out + kSymbol, kSymbolWidth, r.symbol.view());
  PutLe32(out + kSplitDate, static_cast<std::uint32_t>(r.split_date.value()));
  PutLeFloat(out + kFactor, r.factor);
  PutFieldText(out + kName, kNameWidth, r.name.view());
  out[kApplied] = r.applied ? 1 : 0;
}

SinItem ReadItem(const unsigned char* in) {
  SinItem r;
  r.code = GetLeI32(in + item::kCode);
  r.name = FieldText(in + item::kName, item::kNameWidth);
  return r;
}

SinInstrument ReadInstrument(const unsigned char* in) {
  using namespace instrument;
  SinInstrument r;
  r.sincode = GetLeI32(in + kSincode);
  r.symbol = FieldText(in + kSymbol, kSymbolWidth);
  r.name = FieldText(in + kName, kNameWidth);
  r.currency = GetLeI16(in + kCurrency);
  r.exchange = GetLeI16(in + kExchange);
  r.security_type = in[kType];
  r.start_date = ReadDate(in + kStartDate);
  r.second_date = ReadDate(in + kSecondDate);
  return r;
}

SinSplitFactor ReadSplitFactor(const unsigned char* in) {
  using namespace split;
  SinSplitFactor r;
  r.sincode = GetLeI32(in + kSincode);
  r.record_date = ReadDate(in + kRecordDate);
  r.symbol = FieldText(in + kSymbol, kSymbolWidth);
  r.split_date = ReadDate(in + kSplitDate);
  r.factor = GetLeFloat(in + kFactor);
  r.name = FieldText(in + kName, kNameWidth);
  r.applied = in[kApplied] != 0;
  return r;
}

SinItem ReadEarlierItem(const unsigned char* in) {
  SinItem r;
  r.code = GetLeI32(in);
  r.name = FieldText(in + 4, kEarlierNameKept);
  return r;
}

SinInstrument ReadEarlierInstrument(const unsigned char* in) {
  SinInstrument r;
  r.sincode = GetLeI32(in);
  r.symbol = FieldText(in + 4, 8);
  // Byte 12 ends the symbol in the earlier record and carries nothing else.
  r.name = FieldText(in + 13, kEarlierNameKept);
  r.currency = GetLeI16(in + 49);
  r.exchange = GetLeI16(in + 51);
  r.security_type = in[53];
  r.start_date = ReadDate(in + 54);
  return r;
}

SinSplitFactor ReadEarlierSplitFactor(const unsigned char* in) {
  // The earlier record is the current one without its zero tail.
  unsigned char record[kSplitFactorSize] = {};
  std::memcpy(record, in, kEarlierSplitFactorSize);
  return ReadSplitFactor(record);
}

}  // namespace kvqt::sdb
