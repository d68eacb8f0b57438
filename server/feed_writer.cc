#include "feed_writer.h"

#include <cstring>

namespace kvqt::feed_writer {
namespace {

constexpr char kRecordStart = '\xFF';
constexpr std::size_t kSymbolWidth = 8;
constexpr std::size_t kNameWidth = 35;

// Accumulates one record; the length byte is filled in at the end.
class Record {
 public:
  explicit Record(std::uint8_t type) {
    bytes_.push_back(kRecordStart);
    bytes_.push_back('\0');
    byte(type);
  }
  Record& byte(std::uint32_t v) {
    bytes_.push_back(static_cast<char>(v & 0xFF));
    return *this;
  }
  Record& u16(std::uint32_t v) { return byte(v).byte(v >> 8); }
  Record& u24(std::uint32_t v) { return byte(v).byte(v >> 8).byte(v >> 16); }
  Record& u32(std::uint32_t v) { return byte(v).byte(v >> 8).byte(v >> 16).byte(v >> 24); }
  Record& f32(float f) {
    std::uint32_t bits;
    static_assert(sizeof bits == sizeof f);
    std::memcpy(&bits, &f, sizeof bits);
    return u32(bits);
  }
  Record& text(std::string_view t, std::size_t width) {
    t = t.substr(0, width);
    bytes_.append(t);
    bytes_.append(width - t.size(), ' ');
    return *this;
  }
  std::string done() {
    // The length counts itself and the bytes after it.
    bytes_[1] = static_cast<char>(bytes_.size() - 1);
    return bytes_;
  }

 private:
  std::string bytes_;
};

std::uint32_t ToYYMMDD(std::int32_t date) { return date <= 0 ? 0 : static_cast<std::uint32_t>(date % 1000000); }

}  // namespace

std::uint16_t CheckValue(std::string_view bytes) {
  // Bit by bit rather than by table, so that it checks the client's table.
  std::uint16_t value = 0;
  for (char c : bytes) {
    std::uint16_t top = value >> 8;
    std::uint16_t step = static_cast<std::uint16_t>(top << 8);
    for (int bit = 0; bit < 8; ++bit) {
      step = static_cast<std::uint16_t>((step & 0x8000) ? (step << 1) ^ 0x1021 : step << 1);
    }
    const auto b = static_cast<std::uint16_t>(static_cast<std::int16_t>(static_cast<signed char>(c)));
    value = static_cast<std::uint16_t>(step ^ static_cast<std::uint16_t>(value << 8) ^ b);
  }
  return value;
}

std::string InstrumentRecord(const Instrument& r) {
  Record rec(r.with_start_date ? 11 : 5);
  rec.u24(0).u24(static_cast<std::uint32_t>(r.sincode)).byte(r.flags);
  rec.text(r.symbol, kSymbolWidth).text(r.name, kNameWidth);
  rec.u16(static_cast<std::uint16_t>(r.currency)).u16(static_cast<std::uint16_t>(r.exchange)).byte(r.security_type);
  if (r.with_start_date) rec.u24(0).u24(ToYYMMDD(r.start_date));
  return rec.done();
}

std::string ItemRecord(const Item& r) {
  Record rec(8);
  rec.u24(0).byte(r.item_type).byte(r.extra).u32(static_cast<std::uint32_t>(r.code)).text(r.name, kNameWidth);
  return rec.done();
}

std::string SplitFactorRecord(const SplitFactor& r) {
  Record rec(10);
  rec.u24(0).u32(static_cast<std::uint32_t>(r.record_date)).u24(static_cast<std::uint32_t>(r.sincode));
  rec.text(r.symbol, kSymbolWidth).u32(static_cast<std::uint32_t>(r.split_date)).f32(r.factor);
  rec.text(r.name, kNameWidth);
  return rec.done();
}

std::string ControlRecord(const Control& r) {
  Record rec(1);
  rec.u24(r.seqnr).byte(r.control);
  if (r.control == kControlCheck || r.control == 4) {
    rec.u32(static_cast<std::uint32_t>(r.check_seqnr));
    // The length byte must be right before the check value is taken.
    std::string bytes = rec.u16(0).done();
    std::uint16_t check = CheckValue(std::string_view(bytes).substr(0, bytes.size() - 2));
    if (r.check == Check::kWrong) check = static_cast<std::uint16_t>(check ^ 0x5A5A);
    bytes[bytes.size() - 2] = static_cast<char>(check & 0xFF);
    bytes[bytes.size() - 1] = static_cast<char>(check >> 8);
    return bytes;
  }
  if (r.control == kControlTime) rec.u32(static_cast<std::uint32_t>(r.time));
  return rec.done();
}

std::string ValueRecord(std::uint32_t value, std::uint8_t byte) {
  Record rec(9);
  rec.u24(0).u24(value).byte(byte);
  return rec.done();
}

std::string BuildFeed(const FeedContents& contents, const FeedOptions& options) {
  std::string feed;
  std::uint32_t seqnr = options.seqnr;
  feed += ControlRecord({seqnr, kControlCheck, static_cast<std::int32_t>(seqnr), options.check, 0});
  if (options.time != 0) feed += ControlRecord({++seqnr, kControlTime, 0, Check::kRight, options.time});
  for (Item item : contents.exchanges) {
    item.item_type = kExchangeItem;
    feed += ItemRecord(item);
  }
  for (Item item : contents.currencies) {
    item.item_type = kCurrencyItem;
    feed += ItemRecord(item);
  }
  for (const Instrument& r : contents.instruments) feed += InstrumentRecord(r);
  for (const SplitFactor& r : contents.split_factors) feed += SplitFactorRecord(r);
  feed += ControlRecord({++seqnr, kControlEnd, 0, Check::kRight, 0});
  return feed;
}

}  // namespace kvqt::feed_writer
