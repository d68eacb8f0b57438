#include "service/symbols/digital_feed.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>

#include "app/core/logs.h"
#include "app/core/messages.h"
#include "app/core/personal_profile.h"
#include "service/symbols/feed_crc.h"
#include "service/symbols/feed_dump.h"

namespace kvqt {
namespace {

// The dialog's count shows every record up to 100, then every tenth, from 1000
// every hundredth.
bool ShowCount(int n) { return n < 100 || (n < 1000 && n % 10 == 0) || n % 100 == 0; }

// Bytes skipped between records before the dialog gets another look.
constexpr unsigned kSkippedBytesPerPump = 4096;

SinInstrument FromFeed(const FeedInstrumentRecord& r, SinInstrument base) {
  base.sincode = r.sincode;
  base.symbol = r.symbol.view();
  base.name = r.name.view();
  base.currency = r.currency;
  base.exchange = r.exchange;
  base.security_type = r.security_type;
  // Only the later record kind carries a start date; the other leaves it as it was.
  if (r.type == kFeedInstrumentWithDate) base.start_date = r.start_date;
  return base;
}

SinItem FromFeed(const FeedItemRecord& r) {
  SinItem item;
  item.code = r.code;
  item.name = r.name.view();
  return item;
}

SinSplitFactor FromFeed(const FeedSplitFactorRecord& r) {
  SinSplitFactor s;
  s.sincode = r.sincode;
  s.record_date = r.record_date;
  s.symbol = r.symbol.view();
  s.split_date = r.split_date;
  s.factor = r.factor;
  s.name = r.name.view();
  s.applied = false;
  return s;
}

}  // namespace

struct TDigitalFeed::Dump {
  std::FILE* file;
  void line(const std::string& text) {
    std::fwrite(text.data(), 1, text.size(), file);
    std::fwrite("\r\n", 1, 2, file);
  }
};

TDigitalFeed::TDigitalFeed(std::string directory) : directory_(std::move(directory)), table_(directory_) {}

int TDigitalFeed::ProcessFeed(const std::string& path, ProgressHost* dialog) {
  record_count_ = 0;
  errno = 0;
  std::FILE* feed = std::fopen(path.c_str(), "rb");
  if (!feed) {
    const int error = errno;
    messageFormat("Error opening %.80s (%d)", path.c_str(), error);
    return -1;
  }
  std::FILE* dump_file = std::fopen((directory_ + kDumpFileName).c_str(), "wb");
  if (!dump_file) {
    std::fclose(feed);
    messageFormat("Error opening %s", kDumpFileName);
    return -1;
  }
  debugFormat("reading feed from %s, writing to kvqt.sdb.txt\n", path.c_str());

  Dump dump{dump_file};
  unsigned char record[256];
  bool cancelled = false;
  bool end = false;
  int looked_at = -1;
  unsigned skipped = 0;
  while (!end) {
    if (dialog && (record_count_ != looked_at || ++skipped % kSkippedBytesPerPump == 0)) {
      if (dialog->cancelled()) {
        cancelled = true;
        break;
      }
      dialog->pumpMessages();
      if (record_count_ != looked_at && ShowCount(record_count_)) {
        dialog->status("Processing symbol changes " + std::to_string(record_count_), false);
      }
      looked_at = record_count_;
    }
    const int c = std::getc(feed);
    if (c == EOF) break;
    if (c != kFeedRecordStart) continue;
    const int length = std::getc(feed);
    if (length == EOF) break;
    ++record_count_;
    if (length < 2) continue;
    const auto size = static_cast<std::size_t>(length - 1);
    // A record that claims more bytes than the feed holds ends the feed.
    if (std::fread(record, 1, size, feed) != size) break;
    apply(record, size, static_cast<unsigned>(length), dump, end);
  }
  std::fclose(feed);
  if (std::fclose(dump_file) != 0) debugFormat("Error writing %s", kDumpFileName);
  debugFormat("wrote %d records to kvqt.sdb.txt", record_count_);
  if (cancelled) return -3;

  const Date session = session_date_.isNull() ? Date::Today() : session_date_;
  PersonalProfile& settings = profile();
  if (settings.isYes("sinchanges", "yes")) settings.putDate("sinchangesdate", session.value());
  if (settings.isYes("splitfactors", "no")) settings.putDate("splitfactorsdate", session.value());
  return 0;
}

void TDigitalFeed::apply(const unsigned char* record, std::size_t size, unsigned length_byte, Dump& dump, bool& end) {
  const int type = record[0];
  switch (type) {
    case kFeedControl: {
      FeedControlRecord r;
      if (!DecodeFeedControl(record, size, r)) break;
      std::uint16_t computed = 0;
      if (r.control == kFeedCheck || r.control == kFeedCheck2) {
        unsigned char checked[kFeedCheckedBytes];
        checked[0] = kFeedRecordStart;
        checked[1] = static_cast<unsigned char>(length_byte);
        std::copy(record, record + (kFeedCheckedBytes - 2), checked + 2);
        computed = FeedCrc16(checked, sizeof checked);
      }
      dump.line(DumpControlLine(r, computed));
      if (r.control == kFeedEnd) end = true;
      return;
    }
    case kFeedInstrument:
    case kFeedInstrumentWithDate: {
      FeedInstrumentRecord r;
      if (!DecodeFeedInstrument(record, size, r)) break;
      dump.line(DumpInstrumentLine(r));
      switch (r.flags & kFeedReplace) {
        case kFeedReplace:
          if (const SinInstrument* old = table_.findInstrument(r.sincode)) table_.replaceInstrument(FromFeed(r, *old));
          break;
        case kFeedDelete:
          table_.deleteInstrument(r.sincode);
          break;
        case kFeedAdd:
          table_.addInstrument(FromFeed(r, SinInstrument{}));
          break;
        default:
          break;
      }
      return;
    }
    case kFeedItem: {
      FeedItemRecord r;
      if (!DecodeFeedItem(record, size, r)) break;
      dump.line(DumpItemLine(r));
      if (r.item_type == kFeedExchangeItem) {
        if (r.code != 0) table_.putExchange(FromFeed(r));
      } else if (r.item_type == kFeedCurrencyItem) {
        table_.putCurrency(FromFeed(r));
      } else {
        dump.line(kDumpIllegalItemType);
      }
      return;
    }
    case kFeedValue: {
      FeedValueRecord r;
      if (!DecodeFeedValue(record, size, r)) break;
      dump.line(DumpValueLine(r));
      return;
    }
    case kFeedSplitFactor: {
      FeedSplitFactorRecord r;
      if (!DecodeFeedSplitFactor(record, size, r)) break;
      dump.line(DumpSplitFactorLine(r));
      table_.addSplitFactor(FromFeed(r));
      return;
    }
    case 2:
    case 3:
    case 7:
      return;
    default:
      dump.line(DumpUnknownLine(type));
      return;
  }
  dump.line(DumpShortRecordLine(type, size));
}

int ImportSymbolFeed(const std::string& directory, const std::string& feed_path, ProgressHost* dialog,
                     Date session_date) {
  TDigitalFeed feed(directory);
  feed.setSessionDate(session_date);
  const int result = feed.ProcessFeed(feed_path, dialog);
  if (result < 0) return result;
  return feed.table().save();
}

}  // namespace kvqt
