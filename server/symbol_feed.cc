#include "symbol_feed.h"

#include "feed_writer.h"

namespace kvqt::server {
namespace {

feed_writer::Instrument FeedInstrument(const Instrument& i, std::uint8_t flags) {
  feed_writer::Instrument r;
  r.sincode = i.sincode;
  r.flags = flags;
  r.symbol = i.symbol;
  r.name = i.name;
  r.currency = static_cast<std::int16_t>(i.currency);
  r.exchange = static_cast<std::int16_t>(i.exchange);
  r.security_type = static_cast<std::uint8_t>(i.security_type);
  r.start_date = i.start_date;
  r.with_start_date = true;
  return r;
}

}  // namespace

std::string BuildSymbolFeed(const Store& store, const FeedRequest& request, std::time_t now) {
  feed_writer::FeedContents contents;
  const bool changes = request.changes_since >= 0;
  // Exchanges and currencies are few; changes bring them all along.
  if (request.exchanges || changes) {
    for (const Exchange& e : store.Exchanges()) contents.exchanges.push_back({feed_writer::kExchangeItem, 0, e.code, e.name});
  }
  if (request.currencies || changes) {
    for (const Currency& c : store.Currencies()) contents.currencies.push_back({feed_writer::kCurrencyItem, 0, c.code, c.name});
  }
  if (request.instruments) {
    for (const Instrument& i : store.Instruments()) {
      if (!i.deleted) contents.instruments.push_back(FeedInstrument(i, feed_writer::kAdd));
    }
  } else if (changes) {
    for (const Instrument& i : store.InstrumentsChangedSince(request.changes_since)) {
      if (i.security_type == kSecurityOption && !request.changes_with_options) continue;
      std::uint8_t flags = i.deleted                                  ? feed_writer::kDelete
                           : i.start_date >= request.changes_since ? feed_writer::kAdd
                                                                      : feed_writer::kReplace;
      contents.instruments.push_back(FeedInstrument(i, flags));
    }
  }
  if (request.splits_since >= 0) {
    for (const SplitFactor& s : store.SplitsSince(request.splits_since)) {
      std::optional<Instrument> i = store.InstrumentByCode(s.sincode);
      if (!i) continue;
      contents.split_factors.push_back(
          {s.record_date, s.sincode, i->symbol, s.split_date, static_cast<float>(s.factor), i->name});
    }
  }
  feed_writer::FeedOptions options;
  options.time = static_cast<std::int32_t>(now);
  return feed_writer::BuildFeed(contents, options);
}

}  // namespace kvqt::server
