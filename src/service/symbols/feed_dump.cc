#include "service/symbols/feed_dump.h"

#include <cstdarg>
#include <cstdio>

#include "platform/clock.h"

namespace kvqt {
namespace {

// Width of the name column.
constexpr int kNameColumns = 40;

std::string Format(const char* format, ...) __attribute__((format(printf, 1, 2)));
std::string Format(const char* format, ...) {
  char buffer[512];
  std::va_list args;
  va_start(args, format);
  int n = std::vsnprintf(buffer, sizeof buffer, format, args);
  va_end(args);
  if (n < 0) return {};
  return std::string(buffer, static_cast<std::size_t>(n) < sizeof buffer ? static_cast<std::size_t>(n) : sizeof buffer - 1);
}

}  // namespace

std::string DumpControlLine(const FeedControlRecord& r, std::uint16_t computed_check) {
  std::string line = Format("CONTROL: %7ld %d %d", static_cast<long>(r.seqnr), kFeedControl, r.control);
  if (r.control == kFeedCheck || r.control == kFeedCheck2) {
    line += Format(" on seqnr %ld", static_cast<long>(r.check_seqnr));
    if (r.check_value != computed_check) line += " CRC ERROR";
  } else if (r.control == kFeedTime) {
    const platform::LocalDateTime t = platform::ToLocal(static_cast<std::time_t>(r.time));
    line += Format(" %ld %ld", static_cast<long>(t.year) * 10000 + t.month * 100 + t.day,
                   static_cast<long>(t.hour) * 10000 + t.minute * 100 + t.second);
  }
  return line;
}

std::string DumpInstrumentLine(const FeedInstrumentRecord& r) {
  const std::string symbol = r.symbol.str(), name = r.name.str();
  return Format("%1d %7ld %d %-8.8s %-*.*s %3d %3d %2d %8ld", r.type, static_cast<long>(r.sincode), r.flags,
                symbol.c_str(), kNameColumns, kNameColumns, name.c_str(), r.currency, r.exchange, r.security_type,
                static_cast<long>(r.start_date.value()));
}

std::string DumpItemLine(const FeedItemRecord& r) {
  const std::string name = r.name.str();
  return Format("%d %d %d %ld %s", kFeedItem, r.item_type, r.extra, static_cast<long>(r.code), name.c_str());
}

std::string DumpValueLine(const FeedValueRecord& r) { return Format("%7d %d", static_cast<int>(r.value), r.byte); }

std::string DumpSplitFactorLine(const FeedSplitFactorRecord& r) {
  const std::string symbol = r.symbol.str(), name = r.name.str();
  return Format("%6ld %7ld %-8.8s %6ld %10.4f %-*.*s", static_cast<long>(r.record_date.value()),
                static_cast<long>(r.sincode), symbol.c_str(), static_cast<long>(r.split_date.value()),
                static_cast<double>(r.factor), kNameColumns, kNameColumns, name.c_str());
}

std::string DumpUnknownLine(int message_type) { return Format("Unknown M_TYPE: %d", message_type); }

std::string DumpShortRecordLine(int message_type, std::size_t size) {
  return Format("Short record, M_TYPE: %d, %zu bytes", message_type, size);
}

}  // namespace kvqt
