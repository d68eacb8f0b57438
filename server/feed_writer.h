// Builds symbol-table feeds ("sintab.fd") from plain records: the bytes the
// download server puts into a session's result, and that tests feed to the
// client. Knows nothing of where the records come from.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kvqt::feed_writer {

// Instrument record flags.
inline constexpr std::uint8_t kAdd = 1;
inline constexpr std::uint8_t kDelete = 2;
inline constexpr std::uint8_t kReplace = 3;

// Item types.
inline constexpr std::uint8_t kExchangeItem = 17;
inline constexpr std::uint8_t kCurrencyItem = 18;

// Control codes.
inline constexpr std::uint8_t kControlEnd = 2;
inline constexpr std::uint8_t kControlCheck = 3;
inline constexpr std::uint8_t kControlTime = 5;

struct Instrument {
  std::int32_t sincode = 0;  // 0 to 16777215
  std::uint8_t flags = kAdd;
  std::string symbol;  // cut to 8 characters
  std::string name;    // cut to 35 characters
  std::int16_t currency = 0;
  std::int16_t exchange = 0;
  std::uint8_t security_type = 0;
  // YYYYMMDD (or YYMMDD), sent as YYMMDD; 0 for none.
  std::int32_t start_date = 0;
  // The record kind with a start date (11), or the one without (5).
  bool with_start_date = true;
};

// An exchange (item type 17) or a currency (18).
struct Item {
  std::uint8_t item_type = kExchangeItem;
  std::uint8_t extra = 0;
  std::int32_t code = 0;
  std::string name;  // cut to 35 characters
};

struct SplitFactor {
  std::int32_t record_date = 0;  // YYYYMMDD
  std::int32_t sincode = 0;
  std::string symbol;
  std::int32_t split_date = 0;  // YYYYMMDD
  float factor = 1;
  std::string name;
};

enum class Check { kRight, kWrong };

struct Control {
  std::uint32_t seqnr = 0;  // 24 bits are sent
  std::uint8_t control = kControlEnd;
  // Check controls (3 and 4): the sequence number the check value covers.
  std::int32_t check_seqnr = 0;
  Check check = Check::kRight;
  // Time control (5): seconds since 1970-01-01.
  std::int32_t time = 0;
};

// One record each, from the 0xFF to its last byte.
std::string InstrumentRecord(const Instrument& r);
std::string ItemRecord(const Item& r);
std::string SplitFactorRecord(const SplitFactor& r);
std::string ControlRecord(const Control& r);
// Message type 9: a 24-bit value and a byte.
std::string ValueRecord(std::uint32_t value, std::uint8_t byte);

// The check value of a control record over the given bytes.
std::uint16_t CheckValue(std::string_view bytes);

struct FeedContents {
  std::vector<Item> exchanges;   // item type forced to 17
  std::vector<Item> currencies;  // item type forced to 18
  std::vector<Instrument> instruments;
  std::vector<SplitFactor> split_factors;
};

struct FeedOptions {
  std::uint32_t seqnr = 1;
  Check check = Check::kRight;
  // A time control after the check control; 0 for none.
  std::int32_t time = 0;
};

// A whole feed: a check control, the exchanges, currencies, instruments and
// split factors, and the end control.
std::string BuildFeed(const FeedContents& contents, const FeedOptions& options = {});

}  // namespace kvqt::feed_writer
