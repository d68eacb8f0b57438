#include "demo_market.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

namespace kvqt::server {
namespace {

// A small, fixed pseudo-random sequence (splitmix64): the same on every
// machine and every build, unlike the standard library's distributions.
class Random {
 public:
  explicit Random(std::uint64_t seed) : state_(seed) {}
  std::uint64_t next() {
    std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }
  // In [0, 1).
  double uniform() { return static_cast<double>(next() >> 11) * (1.0 / 9007199254740992.0); }
  // Roughly standard normal (sum of four uniforms).
  double normal() { return (uniform() + uniform() + uniform() + uniform() - 2.0) * 1.7320508075688772; }
  int below(int n) { return static_cast<int>(next() % static_cast<std::uint64_t>(n)); }

 private:
  std::uint64_t state_;
};

enum Exchanges { kAmsterdam = 1, kBrussels = 2, kOptions = 3, kForex = 4 };
enum Currencies { kEuro = 1, kDollar = 2, kPound = 3, kFranc = 4 };

struct InstrumentRow {
  const char* symbol;
  const char* name;
  int type;
  int exchange;
  int currency;
  double price;          // the level ten years ago
  double volatility;     // daily
  int volume;            // a typical day; 0 for none
  int listed_days_ago;   // 0: trades for the whole ten years
  const char* renamed_from;  // traded under this symbol until the rename
  int renamed_days_ago;
  int delisted_days_ago;  // 0: still trading
  double split_factor;    // 0: none
  int split_days_ago;
};

// Symbols with punctuation and names of the full 40 characters are there on
// purpose: clients must cope with both.
const InstrumentRow kInstruments[] = {
    {"ALVR", "Alvero Holding", kSecurityStock, kAmsterdam, kEuro, 24.5, 0.018, 850000, 0, nullptr, 0, 0, 0.5, 120},
    {"BRMT", "Bramant Industries", kSecurityStock, kAmsterdam, kEuro, 61.2, 0.015, 420000, 0, nullptr, 0, 0, 0, 0},
    {"CDLX", "Cadelux", kSecurityStock, kAmsterdam, kEuro, 8.75, 0.022, 1500000, 0, nullptr, 0, 0, 0, 0},
    {"DRVN", "Dravenhorst Shipping", kSecurityStock, kAmsterdam, kEuro, 33.1, 0.02, 300000, 0, nullptr, 0, 0, 0, 0},
    {"ELMR", "Elmare Foods", kSecurityStock, kAmsterdam, kEuro, 45.0, 0.012, 600000, 0, nullptr, 0, 0, 0, 0},
    {"FYNQ", "Fynquist Technologies", kSecurityStock, kAmsterdam, kEuro, 112.4, 0.025, 900000, 0, "FYNQT", 200, 0,
     0.3333333, 700},
    {"GRVL", "Gravel & Stone Group", kSecurityStock, kAmsterdam, kEuro, 15.3, 0.017, 250000, 0, nullptr, 0, 0, 0, 0},
    {"HLDR", "Holder Bank", kSecurityStock, kAmsterdam, kEuro, 9.9, 0.021, 5200000, 0, nullptr, 0, 0, 0, 0},
    {"ISNT", "Isent Chemicals", kSecurityStock, kAmsterdam, kEuro, 52.0, 0.016, 380000, 0, nullptr, 0, 0, 0, 0},
    {"JVLN", "Javelin Media", kSecurityStock, kAmsterdam, kEuro, 6.4, 0.028, 2100000, 0, nullptr, 0, 0, 0, 0},
    {"KRST", "Korst Logistics", kSecurityStock, kAmsterdam, kEuro, 27.8, 0.014, 190000, 0, nullptr, 0, 0, 0, 0},
    {"LMNA", "Lumina Energy", kSecurityStock, kAmsterdam, kEuro, 19.6, 0.019, 1300000, 900, nullptr, 0, 0, 0, 0},
    {"MRDN", "Meridian Insurance", kSecurityStock, kAmsterdam, kEuro, 38.3, 0.013, 700000, 0, "MRDIN", 45, 0, 0, 0},
    {"NVLT", "Novalt Pharma", kSecurityStock, kAmsterdam, kEuro, 71.0, 0.02, 480000, 0, nullptr, 0, 0, 2.0, 1500},
    {"OPLN", "Opaline Retail", kSecurityStock, kAmsterdam, kEuro, 12.2, 0.018, 650000, 0, nullptr, 0, 0, 0, 0},
    {"PRSM", "Prism Semiconductors", kSecurityStock, kAmsterdam, kEuro, 88.8, 0.027, 1100000, 0, nullptr, 0, 0, 0.5,
     30},
    {"QRTZ", "Quartz Telecom", kSecurityStock, kAmsterdam, kEuro, 3.45, 0.02, 8000000, 0, nullptr, 0, 0, 0, 0},
    {"RDWD", "Redwood Paper", kSecurityStock, kAmsterdam, kEuro, 21.7, 0.016, 150000, 0, nullptr, 0, 300, 0, 0},
    {"SLVN", "Silvan Breweries", kSecurityStock, kAmsterdam, kEuro, 55.5, 0.011, 520000, 0, nullptr, 0, 0, 0, 0},
    {"TRNV", "Ternova Airlines", kSecurityStock, kAmsterdam, kEuro, 14.1, 0.026, 2400000, 0, nullptr, 0, 0, 0, 0},
    {"UMBR", "Umbra Construction", kSecurityStock, kBrussels, kEuro, 29.9, 0.017, 210000, 0, nullptr, 0, 0, 0, 0},
    {"VLKR", "Volker Steel", kSecurityStock, kBrussels, kEuro, 17.4, 0.023, 990000, 0, nullptr, 0, 0, 0, 0},
    {"WNDM", "Windmill Power", kSecurityStock, kBrussels, kEuro, 9.15, 0.019, 760000, 150, nullptr, 0, 0, 0, 0},
    {"XNTH", "Xanthe Biotech", kSecurityStock, kBrussels, kEuro, 4.8, 0.035, 3300000, 0, nullptr, 0, 0, 0, 0},
    {"YRLS", "Yarlis Real Estate", kSecurityStock, kBrussels, kEuro, 41.3, 0.01, 120000, 0, nullptr, 0, 0, 0, 0},
    {"ZPHR", "Zephyr Motors", kSecurityStock, kBrussels, kEuro, 64.6, 0.02, 830000, 0, "ZEPH", 330, 0, 0, 0},
    {"AB.C", "AB.C Capital", kSecurityStock, kAmsterdam, kEuro, 11.0, 0.015, 340000, 0, nullptr, 0, 0, 0, 0},
    {"R&D", "R&D Partners", kSecurityStock, kAmsterdam, kEuro, 7.3, 0.024, 460000, 0, nullptr, 0, 0, 0, 0},
    {"KL-M", "KL-M Transport", kSecurityStock, kBrussels, kEuro, 18.9, 0.018, 270000, 0, nullptr, 0, 0, 0, 0},
    {"D'OR", "D'Or Jewellers", kSecurityStock, kBrussels, kEuro, 26.2, 0.016, 95000, 0, nullptr, 0, 0, 0, 0},
    {"NH/A", "Nordhavn A/S", kSecurityStock, kBrussels, kEuro, 13.6, 0.02, 180000, 0, nullptr, 0, 0, 0, 0},
    {"NVHB", "Noordelijke Verenigde Havenbedrijven N.V", kSecurityStock, kAmsterdam, kEuro, 36.4, 0.012, 220000, 0,
     nullptr, 0, 0, 0, 0},
    {"KMVS", "Koninklijke Maatschappij van Scheepsbouw", kSecurityStock, kAmsterdam, kEuro, 48.2, 0.014, 160000, 0,
     nullptr, 0, 0, 0, 0},
    {"ICHV", "Internationale Crediet en Handelsvereen.", kSecurityStock, kBrussels, kEuro, 22.0, 0.015, 310000, 0,
     nullptr, 0, 0, 0, 0},
    {"GZVM", "Gecombineerde Zuivel en Voedingsmiddelen", kSecurityStock, kAmsterdam, kEuro, 31.5, 0.011, 140000, 0,
     nullptr, 0, 0, 0, 0},
    {"NVX25", "Norvale 25 Index", kSecurityIndex, kAmsterdam, kEuro, 420.0, 0.011, 0, 0, nullptr, 0, 0, 0, 0},
    {"NVXMID", "Norvale Midcap Index", kSecurityIndex, kAmsterdam, kEuro, 610.0, 0.012, 0, 0, nullptr, 0, 0, 0, 0},
    {"NVXALL", "Norvale All-Share Index", kSecurityIndex, kAmsterdam, kEuro, 980.0, 0.01, 0, 0, nullptr, 0, 0, 0, 0},
    {"NL2030", "Netherlands 2.5% 2030", kSecurityBond, kAmsterdam, kEuro, 101.2, 0.002, 50000, 0, nullptr, 0, 0, 0,
     0},
    {"BE2028", "Belgium 1.75% 2028", kSecurityBond, kBrussels, kEuro, 99.4, 0.002, 30000, 0, nullptr, 0, 0, 0, 0},
    {"HLD2029", "Holder Bank 4% 2029", kSecurityBond, kAmsterdam, kEuro, 100.5, 0.003, 8000, 0, nullptr, 0, 0, 0, 0},
    {"ALVC30", "Alvero Call 30 Dec", kSecurityOption, kOptions, kEuro, 2.4, 0.06, 4000, 200, nullptr, 0, 0, 0, 0},
    {"ALVP25", "Alvero Put 25 Dec", kSecurityOption, kOptions, kEuro, 1.9, 0.06, 3500, 200, nullptr, 0, 0, 0, 0},
    {"HLDC10", "Holder Bank Call 10 Jun", kSecurityOption, kOptions, kEuro, 0.85, 0.07, 12000, 120, nullptr, 0, 0, 0,
     0},
    {"PRSW", "Prism Semiconductors Warrant", kSecurityWarrant, kAmsterdam, kEuro, 5.6, 0.04, 60000, 0, nullptr, 0, 0,
     0, 0},
    {"NVFUND", "Norvale Growth Fund", kSecurityFund, kAmsterdam, kEuro, 48.0, 0.008, 20000, 0, nullptr, 0, 0, 0, 0},
    {"NVOBL", "Norvale Euro Obligatiefonds Lang Looptd.", kSecurityFund, kAmsterdam, kEuro, 25.0, 0.003, 15000, 0,
     nullptr, 0, 0, 0, 0},
    {"EURUSD", "Euro / US Dollar", kSecurityCurrency, kForex, kDollar, 1.1, 0.005, 0, 0, nullptr, 0, 0, 0, 0},
    {"EURGBP", "Euro / Pound Sterling", kSecurityCurrency, kForex, kPound, 0.86, 0.004, 0, 0, nullptr, 0, 0, 0, 0},
    {"EURCHF", "Euro / Swiss Franc", kSecurityCurrency, kForex, kFranc, 1.08, 0.004, 0, 0, nullptr, 0, 0, 0, 0},
};

constexpr int kFirstSincode = 10001;
// Stocks with ticks as well as bars: the first ones of the table.
constexpr int kTickStocks = 6;
constexpr int kSessionMinutes = 510;  // 09:00 to 17:29
constexpr int kOpeningMinute = 9 * 60;

double TickSize(int type) {
  switch (type) {
    case kSecurityCurrency:
      return 0.0001;
    case kSecurityBond:
      return 0.001;
    default:
      return 0.01;
  }
}

class Rounder {
 public:
  explicit Rounder(double tick) : tick_(tick) {}
  double operator()(double price) const { return std::max(tick_, std::round(price / tick_) * tick_); }

 private:
  double tick_;
};

Date DaysAgo(Date today, int days) { return today.addDays(-days); }

Date NextTradingDay(Date date) {
  for (int i = 0; i < 7 && !date.isNull(); ++i, date = date.addDays(1)) {
    if (IsTradingDay(date)) return date;
  }
  return date;
}

// The trading days from first to last, both included.
std::vector<Date> TradingDays(Date first, Date last) {
  std::vector<Date> days;
  for (Date d = first; d.value() != 0 && d.value() <= last.value(); d = d.addDays(1)) {
    if (IsTradingDay(d)) days.push_back(d);
  }
  return days;
}

// One day of one-minute trading from the previous close; the day's record is
// the sum of its minutes. With ticks, each minute is the sum of its ticks.
DailyPrice WriteIntradayDay(Store& store, int sincode, Date day, double previous_close, double volatility,
                            int daily_volume, bool with_ticks, const Rounder& round, Random& random, int* failures) {
  const double minute_volatility = volatility / std::sqrt(static_cast<double>(kSessionMinutes));
  DailyPrice daily{day.value(), 0, 0, 0, 0, 0};
  // The walk runs on the unrounded level; only what is stored is rounded.
  double level = previous_close * (1 + 0.003 * random.normal());
  for (int m = 0; m < kSessionMinutes; ++m) {
    const int minute = kOpeningMinute + m;
    const int hhmm = (minute / 60) * 100 + minute % 60;
    const double open = round(level);
    Bar bar{day.value(), hhmm, open, open, open, open, 0};
    const std::int64_t minute_volume =
        daily_volume == 0 ? 0
                          : static_cast<std::int64_t>(daily_volume / kSessionMinutes * (0.2 + 1.6 * random.uniform()));
    if (with_ticks) {
      const int ticks = 1 + random.below(3);
      int second = 0;
      for (int t = 0; t < ticks; ++t) {
        second = std::min(59, second + 1 + random.below(20));
        if (t > 0) level *= 1 + minute_volatility * random.normal();
        const double price = round(level);
        const std::int64_t volume = std::max<std::int64_t>(100, minute_volume / ticks / 100 * 100);
        if (store.PutTick(sincode, {day.value(), hhmm * 100 + second, t, price, volume}) != 0) ++*failures;
        bar.high = std::max(bar.high, price);
        bar.low = std::min(bar.low, price);
        bar.close = price;
        bar.volume += volume;
      }
    } else {
      level *= 1 + minute_volatility * random.normal();
      bar.close = round(level);
      bar.high = round(std::max(bar.open, bar.close) * (1 + 0.001 * random.uniform()));
      bar.low = round(std::min(bar.open, bar.close) * (1 - 0.001 * random.uniform()));
      bar.volume = minute_volume / 100 * 100;
    }
    if (store.PutBar(sincode, bar) != 0) ++*failures;
    if (m == 0) {
      daily.open = bar.open;
      daily.high = bar.high;
      daily.low = bar.low;
    }
    daily.high = std::max(daily.high, bar.high);
    daily.low = std::min(daily.low, bar.low);
    daily.close = bar.close;
    daily.volume += bar.volume;
  }
  return daily;
}

// Shares drift upwards over the years; bonds and exchange rates do not.
double Drift(int type) { return type == kSecurityBond || type == kSecurityCurrency ? 0.0 : 0.0002; }

DailyPrice MakeDay(Date day, double previous_close, double drift, double volatility, int daily_volume,
                   const Rounder& round, Random& random) {
  DailyPrice p;
  p.date = day.value();
  p.open = round(previous_close * (1 + 0.004 * random.normal()));
  p.close = round(previous_close * std::exp(drift + volatility * random.normal()));
  p.high = round(std::max(p.open, p.close) * (1 + 0.006 * random.uniform()));
  p.low = round(std::min(p.open, p.close) * (1 - 0.006 * random.uniform()));
  p.volume = daily_volume == 0 ? 0 : static_cast<std::int64_t>(daily_volume * (0.5 + random.uniform())) / 100 * 100;
  return p;
}

int WriteInstrument(Store& store, const InstrumentRow& row, int sincode, int index, Date today,
                    const std::vector<Date>& last_five) {
  const int year = today.year() - 10;
  const Date ten_years_ago(year, today.month(), std::min(today.day(), DaysInMonth(year, today.month())));
  const Date first = NextTradingDay(row.listed_days_ago > 0 ? DaysAgo(today, row.listed_days_ago) : ten_years_ago);
  const Date delisted = row.delisted_days_ago > 0 ? LastTradingDay(DaysAgo(today, row.delisted_days_ago)) : Date();
  const Date last = delisted.isNull() ? today : delisted;
  const Date split = row.split_factor > 0 ? NextTradingDay(DaysAgo(today, row.split_days_ago)) : Date();

  Instrument instrument;
  instrument.sincode = sincode;
  instrument.symbol = row.symbol;
  instrument.name = row.name;
  instrument.currency = row.currency;
  instrument.exchange = row.exchange;
  instrument.security_type = row.type;
  instrument.start_date = first.value();
  instrument.change_date = first.value();
  if (row.renamed_from != nullptr) {
    instrument.previous_symbol = row.renamed_from;
    instrument.change_date = DaysAgo(today, row.renamed_days_ago).value();
  }
  if (!delisted.isNull()) {
    instrument.deleted = true;
    instrument.change_date = delisted.value();
  }
  if (store.PutInstrument(instrument) != 0) return -1;
  if (!split.isNull() && store.PutSplit({sincode, split.value(), split.value(), row.split_factor}) != 0) return -1;

  const bool intraday = !instrument.deleted &&
                        (row.type == kSecurityStock || row.type == kSecurityIndex || row.type == kSecurityCurrency);
  const bool ticks = intraday && row.type == kSecurityStock && index < kTickStocks;
  Random random(0x6B7671ull * 1000003ull + static_cast<std::uint64_t>(sincode));
  const Rounder round(TickSize(row.type));
  double close = round(row.price);
  int failures = 0;
  bool split_done = split.isNull();
  for (Date day : TradingDays(first, last)) {
    if (!split_done && day.value() >= split.value()) {
      // Prices are stored as traded, so the level jumps on the split day.
      close = round(close * row.split_factor);
      split_done = true;
    }
    DailyPrice p;
    if (intraday && std::find(last_five.begin(), last_five.end(), day) != last_five.end()) {
      p = WriteIntradayDay(store, sincode, day, close, row.volatility, row.volume, ticks, round, random, &failures);
    } else {
      p = MakeDay(day, close, Drift(row.type), row.volatility, row.volume, round, random);
    }
    if (store.PutDaily(sincode, p) != 0) ++failures;
    close = p.close;
  }
  return failures == 0 ? 0 : -1;
}

}  // namespace

bool IsTradingDay(Date date) {
  int weekday = date.dayOfWeek();
  return weekday >= 1 && weekday <= 5;
}

Date LastTradingDay(Date date) {
  for (int i = 0; i < 7 && !date.isNull(); ++i, date = date.addDays(-1)) {
    if (IsTradingDay(date)) return date;
  }
  return date;
}

int InitDemo(Store& store, Date today, std::string* error) {
  if (today.isNull() || today.year() < Date::kFirstYear + 11) {
    *error = "the demo's today must be a date from 1981 to 2037";
    return -1;
  }
  std::vector<Date> last_five;
  for (Date d = LastTradingDay(today); last_five.size() < 5; d = LastTradingDay(d.addDays(-1))) last_five.push_back(d);

  if (store.Begin() != 0) {
    *error = "cannot start writing the store";
    return -1;
  }
  int failed = 0;
  const Exchange exchanges[] = {{kAmsterdam, "Amsterdam Stock Exchange"},
                                {kBrussels, "Brussels Stock Exchange"},
                                {kOptions, "Amsterdam Options Exchange"},
                                {kForex, "Foreign Exchange Market"}};
  for (const Exchange& e : exchanges) failed |= store.PutExchange(e);
  const Currency currencies[] = {{kEuro, "Euro"}, {kDollar, "US Dollar"}, {kPound, "Pound Sterling"}, {kFranc, "Swiss Franc"}};
  for (const Currency& c : currencies) failed |= store.PutCurrency(c);
  int index = 0;
  for (const InstrumentRow& row : kInstruments) {
    failed |= WriteInstrument(store, row, kFirstSincode + index, index, today, last_five);
    ++index;
  }
  failed |= store.PutUser({kDemoLogin, kDemoPassword, kDemoCredit, true});
  failed |= store.PutUser({kExpiredLogin, kExpiredPassword, "Subscription ended", false});
  failed |= store.SetValue(kTodayKey, std::to_string(today.value()));
  if (failed != 0) {
    store.Rollback();
    *error = "writing the demo market failed";
    return -1;
  }
  if (store.Commit() != 0) {
    *error = "cannot commit the demo market";
    return -1;
  }
  return 0;
}

}  // namespace kvqt::server
