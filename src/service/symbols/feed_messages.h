// The records of the symbol-table feed "sintab.fd", decoded from the bytes that
// follow a record's length byte (type byte first). A decoder returns false when
// the record is shorter than its type needs; it never reads past `size`.
#pragma once

#include <cstddef>
#include <cstdint>

#include "datetime/date.h"
#include "service/symbols/fixed_text.h"

namespace kvqt {

enum FeedMessageType : std::uint8_t {
  kFeedControl = 1,
  kFeedInstrument = 5,
  kFeedItem = 8,
  kFeedValue = 9,
  kFeedSplitFactor = 10,
  kFeedInstrumentWithDate = 11,
};

enum FeedControlCode : std::uint8_t {
  kFeedEnd = 2,
  kFeedCheck = 3,
  kFeedCheck2 = 4,
  kFeedTime = 5,
};

enum FeedInstrumentFlags : std::uint8_t {
  kFeedAdd = 1,
  kFeedDelete = 2,
  kFeedReplace = 3,
};

enum FeedItemType : std::uint8_t {
  kFeedExchangeItem = 17,
  kFeedCurrencyItem = 18,
};

inline constexpr unsigned char kFeedRecordStart = 0xFF;
// Fixed widths of the feed's blank-padded texts.
inline constexpr std::size_t kFeedSymbolWidth = 8;
inline constexpr std::size_t kFeedNameWidth = 35;

struct FeedControlRecord {
  std::uint32_t seqnr = 0;
  std::uint8_t control = 0;
  // Controls 3 and 4.
  std::int32_t check_seqnr = 0;
  std::uint16_t check_value = 0;
  // Control 5: seconds since 1970-01-01.
  std::int32_t time = 0;
};

struct FeedInstrumentRecord {
  std::uint8_t type = 0;  // 5 or 11
  std::int32_t sincode = 0;
  std::uint8_t flags = 0;
  FixedText<kFeedSymbolWidth> symbol;
  FixedText<kFeedNameWidth> name;
  std::int16_t currency = 0;
  std::int16_t exchange = 0;
  std::uint8_t security_type = 0;
  Date start_date;  // type 11 only
};

struct FeedItemRecord {
  std::uint8_t item_type = 0;
  std::uint8_t extra = 0;
  std::int32_t code = 0;
  FixedText<kFeedNameWidth> name;
};

struct FeedValueRecord {
  std::uint32_t value = 0;
  std::uint8_t byte = 0;
};

struct FeedSplitFactorRecord {
  Date record_date;
  std::int32_t sincode = 0;
  FixedText<kFeedSymbolWidth> symbol;
  Date split_date;
  float factor = 0;
  FixedText<kFeedNameWidth> name;
};

// `record` and `size`: the type byte and what follows it (L - 1 bytes).
bool DecodeFeedControl(const unsigned char* record, std::size_t size, FeedControlRecord& out);
bool DecodeFeedInstrument(const unsigned char* record, std::size_t size, FeedInstrumentRecord& out);
bool DecodeFeedItem(const unsigned char* record, std::size_t size, FeedItemRecord& out);
bool DecodeFeedValue(const unsigned char* record, std::size_t size, FeedValueRecord& out);
bool DecodeFeedSplitFactor(const unsigned char* record, std::size_t size, FeedSplitFactorRecord& out);

// Sizes, type byte included.
inline constexpr std::size_t kFeedControlSize = 5;
inline constexpr std::size_t kFeedControlCheckSize = 11;
inline constexpr std::size_t kFeedControlTimeSize = 9;
inline constexpr std::size_t kFeedInstrumentSize = 56;
inline constexpr std::size_t kFeedInstrumentWithDateSize = 62;
inline constexpr std::size_t kFeedItemSize = 45;
inline constexpr std::size_t kFeedValueSize = 8;
inline constexpr std::size_t kFeedSplitFactorSize = 62;
// The check value covers the record from its 0xFF through the second sequence number.
inline constexpr std::size_t kFeedCheckedBytes = 2 + 9;

// Feed dates: YYMMDD or YYYYMMDD; 0 or an impossible date is not set.
Date FeedDate(std::int32_t value);

}  // namespace kvqt
