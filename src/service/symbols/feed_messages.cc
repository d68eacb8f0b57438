#include "service/symbols/feed_messages.h"

#include "platform/little_endian.h"

namespace kvqt {
namespace {

using platform::GetLe16;
using platform::GetLeFloat;
using platform::GetLeI16;
using platform::GetLeI32;

std::uint32_t GetLe24(const unsigned char* p) {
  return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
         static_cast<std::uint32_t>(p[2]) << 16;
}

}  // namespace

Date FeedDate(std::int32_t value) { return value == 0 ? Date() : Date::FromInt(value); }

bool DecodeFeedControl(const unsigned char* record, std::size_t size, FeedControlRecord& out) {
  if (size < kFeedControlSize) return false;
  out = {};
  out.seqnr = GetLe24(record + 1);
  out.control = record[4];
  if (out.control == kFeedCheck || out.control == kFeedCheck2) {
    if (size < kFeedControlCheckSize) return false;
    out.check_seqnr = GetLeI32(record + 5);
    out.check_value = GetLe16(record + 9);
  } else if (out.control == kFeedTime) {
    if (size < kFeedControlTimeSize) return false;
    out.time = GetLeI32(record + 5);
  }
  return true;
}

bool DecodeFeedInstrument(const unsigned char* record, std::size_t size, FeedInstrumentRecord& out) {
  if (size == 0) return false;
  const bool with_date = record[0] == kFeedInstrumentWithDate;
  if (size < (with_date ? kFeedInstrumentWithDateSize : kFeedInstrumentSize)) return false;
  out = {};
  out.type = record[0];
  // Bytes 1 to 3 are not used.
  out.sincode = static_cast<std::int32_t>(GetLe24(record + 4));
  out.flags = record[7];
  out.symbol = FieldText(record + 8, kFeedSymbolWidth);
  out.name = FieldText(record + 16, kFeedNameWidth);
  out.currency = GetLeI16(record + 51);
  out.exchange = GetLeI16(record + 53);
  out.security_type = record[55];
  // Bytes 56 to 58 are not used.
  if (with_date) out.start_date = FeedDate(static_cast<std::int32_t>(GetLe24(record + 59)));
  return true;
}

bool DecodeFeedItem(const unsigned char* record, std::size_t size, FeedItemRecord& out) {
  if (size < kFeedItemSize) return false;
  out = {};
  out.item_type = record[4];
  out.extra = record[5];
  out.code = GetLeI32(record + 6);
  out.name = FieldText(record + 10, kFeedNameWidth);
  return true;
}

bool DecodeFeedValue(const unsigned char* record, std::size_t size, FeedValueRecord& out) {
  if (size < kFeedValueSize) return false;
  out.value = GetLe24(record + 4);
  out.byte = record[7];
  return true;
}

bool DecodeFeedSplitFactor(const unsigned char* record, std::size_t size, FeedSplitFactorRecord& out) {
  if (size < kFeedSplitFactorSize) return false;
  out = {};
  out.record_date = FeedDate(GetLeI32(record + 4));
  out.sincode = static_cast<std::int32_t>(GetLe24(record + 8));
  out.symbol = FieldText(record + 11, kFeedSymbolWidth);
  out.split_date = FeedDate(GetLeI32(record + 19));
  out.factor = GetLeFloat(record + 23);
  out.name = FieldText(record + 27, kFeedNameWidth);
  return true;
}

}  // namespace kvqt
