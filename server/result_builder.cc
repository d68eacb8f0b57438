#include "result_builder.h"

#include <cinttypes>
#include <cmath>
#include <cstdio>

#include "price_series.h"
#include "request_line.h"
#include "symbol_feed.h"

namespace kvqt::server {
namespace {

// The result is a text file of the client's platform: CR LF line ends.
constexpr const char* kLineEnd = "\r\n";
constexpr int kNoUpperDate = 99991231;

// Collects the lines of one request, up to the result's limit.
class Answer {
 public:
  explicit Answer(std::string& out) : out_(out) {}
  void add(const std::string& line) {
    if (out_.size() + line.size() + 2 > kMaxResultBytes) {
      full_ = true;
      return;
    }
    out_ += line;
    out_ += kLineEnd;
    ++lines_;
  }
  long lines() const { return lines_; }
  bool full() const { return full_; }

 private:
  std::string& out_;
  long lines_ = 0;
  bool full_ = false;
};

void AnswerPrices(const Store& store, const RequestLine& line, const ResultContext& context, std::string& out,
                  AnsweredLine& answered) {
  std::optional<Instrument> instrument = store.FindInstrument(line.symbol);
  if (!instrument) {
    answered.note = "unknown symbol";
    return;
  }
  const int code = instrument->sincode;
  // Lines carry the symbol the client asked for, which is how it finds its data file.
  const std::string& symbol = line.symbol;
  Answer answer(out);
  switch (line.price_kind) {
    case PriceKind::kDaily:
      for (const DailyPrice& p : store.Daily(code, line.first_date, line.last_date)) answer.add(DailyLine(symbol, p));
      break;
    case PriceKind::kDailyAndRealtime:
    case PriceKind::kRealtime: {
      std::optional<DailyPrice> now = store.LastDaily(code, context.today.value());
      if (line.price_kind == PriceKind::kDailyAndRealtime) {
        for (const DailyPrice& p : store.Daily(code, line.first_date, 0)) {
          if (!now || p.date < now->date) answer.add(DailyLine(symbol, p));
        }
      }
      if (now) answer.add(DailyLine(symbol, *now));
      break;
    }
    case PriceKind::kWeekly:
      for (const DailyPrice& p : WeeklyPrices(store.Daily(code, line.first_date, line.last_date))) {
        answer.add(DailyLine(symbol, p));
      }
      break;
    case PriceKind::kMonthly:
      for (const DailyPrice& p : MonthlyPrices(store.Daily(code, line.first_date, line.last_date))) {
        answer.add(DailyLine(symbol, p));
      }
      break;
    case PriceKind::kBars: {
      const int last_date = line.last_date == 0 ? kNoUpperDate : line.last_date;
      std::vector<Bar> minutes = store.Bars(code, line.first_date, line.first_time, last_date, line.last_time);
      for (const Bar& b : CombineBars(minutes, line.interval)) answer.add(BarLine(symbol, b));
      break;
    }
    case PriceKind::kTicks: {
      const int last_date = line.last_date == 0 ? kNoUpperDate : line.last_date;
      for (const Tick& t : store.Ticks(code, line.first_date, line.first_time * 100, last_date,
                                       line.last_time * 100 + 59)) {
        answer.add(TickLine(symbol, t));
      }
      break;
    }
  }
  answered.lines = answer.lines();
  if (answer.full()) answered.note = "result limit reached";
}

}  // namespace

std::string FormatPrice(double price) {
  if (!std::isfinite(price)) return "0";
  char text[64];
  std::snprintf(text, sizeof text, "%.4f", price);
  std::string out(text);
  std::size_t dot = out.find('.');
  if (dot != std::string::npos) {
    while (out.back() == '0') out.pop_back();
    if (out.back() == '.') out.pop_back();
  }
  return out == "-0" ? "0" : out;
}

std::string DailyLine(const std::string& symbol, const DailyPrice& p) {
  char head[64];
  std::snprintf(head, sizeof head, ",%d,%" PRId64 ",", p.date, p.volume);
  return symbol + head + FormatPrice(p.open) + "," + FormatPrice(p.high) + "," + FormatPrice(p.low) + "," +
         FormatPrice(p.close);
}

std::string BarLine(const std::string& symbol, const Bar& b) {
  char head[64];
  std::snprintf(head, sizeof head, ",%d,%04d,%" PRId64 ",", b.date, b.time, b.volume);
  return symbol + head + FormatPrice(b.open) + "," + FormatPrice(b.high) + "," + FormatPrice(b.low) + "," +
         FormatPrice(b.close);
}

std::string TickLine(const std::string& symbol, const Tick& t) {
  char head[64];
  std::snprintf(head, sizeof head, ",%d,%06d,%" PRId64 ",", t.date, t.time, t.volume);
  return symbol + head + FormatPrice(t.price);
}

ResultFiles BuildResult(const Store& store, std::string_view request_file, const ResultContext& context) {
  ResultFiles result;
  FeedRequest feed;
  int client_version = 0;
  bool wants_release = false;
  while (!request_file.empty()) {
    std::size_t end = request_file.find('\n');
    std::string_view raw = request_file.substr(0, end);
    request_file.remove_prefix(end == std::string_view::npos ? request_file.size() : end + 1);
    RequestLine line = ParseRequestLine(raw);
    if (line.kind == LineKind::kBlank) continue;
    AnsweredLine answered{line.text, 0, ""};
    switch (line.kind) {
      case LineKind::kBlank:
        break;
      case LineKind::kVersion:
        client_version = line.version;
        break;
      case LineKind::kNewRelease:
        client_version = line.version;
        wants_release = true;
        break;
      case LineKind::kTableRequest:
        feed.exchanges |= line.table_item == 17;
        feed.currencies |= line.table_item == 18;
        feed.instruments |= line.table_item == 23;
        break;
      case LineKind::kChangesRequest:
        feed.changes_since = line.since_date;
        feed.changes_with_options = line.with_options;
        break;
      case LineKind::kSplitsRequest:
        feed.splits_since = line.since_date;
        break;
      case LineKind::kOtherKeyword:
        break;
      case LineKind::kChangeDirectory:
        if (result.sksdat.size() + line.text.size() + 2 <= kMaxResultBytes) {
          result.sksdat += line.text;
          result.sksdat += kLineEnd;
          answered.lines = 1;
        }
        break;
      case LineKind::kPrices:
        AnswerPrices(store, line, context, result.sksdat, answered);
        break;
      case LineKind::kInvalid:
        answered.note = "not a request line";
        break;
    }
    result.answers.push_back(std::move(answered));
  }
  if (feed.wanted()) result.feed = BuildSymbolFeed(store, feed, context.now);
  std::optional<std::string> motd = store.Motd();
  if (motd && !motd->empty()) result.motd = motd;
  if (wants_release) {
    std::optional<Release> release = store.GetRelease();
    if (release && release->version > client_version) result.release = release->data;
  }
  return result;
}

}  // namespace kvqt::server
