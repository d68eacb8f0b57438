// The reference server's market data in one SQLite file: exchanges,
// currencies, instruments, daily, one-minute and tick prices, split factors,
// users, and an optional message of the day and release. Dates are YYYYMMDD
// integers, bar times HHMM, tick times HHMMSS. Reads give empty results on a
// database error (after a line on standard error); writes return 0 or -1.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

namespace kvqt::server {

class StoreStatement;

// Security types of the instruments, as the symbol feed carries them to the
// client, whose catalogue search selects and names instruments by them.
inline constexpr int kSecurityIndex = 0;
inline constexpr int kSecurityCurrency = 3;
inline constexpr int kSecurityOption = 4;
inline constexpr int kSecurityStock = 16;
inline constexpr int kSecurityWarrant = 17;
inline constexpr int kSecurityFund = 18;
inline constexpr int kSecurityBond = 32;

struct Exchange {
  int code = 0;
  std::string name;
};

struct Currency {
  int code = 0;
  std::string name;
};

struct Instrument {
  int sincode = 0;
  std::string symbol;
  std::string name;
  int currency = 0;
  int exchange = 0;
  int security_type = kSecurityStock;
  int start_date = 0;
  // The date of the last change of the record (new, renamed or deleted); 0 none.
  int change_date = 0;
  // The symbol before the last rename; empty when it was never renamed.
  std::string previous_symbol;
  bool deleted = false;
};

struct DailyPrice {
  int date = 0;
  double open = 0, high = 0, low = 0, close = 0;
  std::int64_t volume = 0;
};

// One minute of trading, stamped with the minute it starts (HHMM).
struct Bar {
  int date = 0;
  int time = 0;
  double open = 0, high = 0, low = 0, close = 0;
  std::int64_t volume = 0;
};

struct Tick {
  int date = 0;
  int time = 0;  // HHMMSS
  int sequence = 0;  // orders the ticks of one second
  double price = 0;
  std::int64_t volume = 0;
};

// Announced on record_date: prices before split_date are to be multiplied by
// factor (0.5 for a two-for-one split).
struct SplitFactor {
  int sincode = 0;
  int record_date = 0;
  int split_date = 0;
  double factor = 1;
};

struct User {
  std::string login;
  std::string password;
  std::string credit;
  bool active = true;  // an inactive user is denied the service
};

struct Release {
  int version = 0;  // major * 10000 + minor * 100 + patch
  std::string data;
};

class Store {
 public:
  // Opens the database; with create, makes the file and its tables when missing.
  // Returns nullptr (and the reason in *error) on failure.
  static std::unique_ptr<Store> Open(const std::string& path, bool create, std::string* error);
  ~Store();
  Store(const Store&) = delete;
  Store& operator=(const Store&) = delete;

  // Writes in one transaction are much faster; -1 on failure.
  int Begin();
  int Commit();
  int Rollback();

  int PutExchange(const Exchange& e);
  int PutCurrency(const Currency& c);
  int PutInstrument(const Instrument& i);
  int PutDaily(int sincode, const DailyPrice& p);
  int PutBar(int sincode, const Bar& b);
  int PutTick(int sincode, const Tick& t);
  int PutSplit(const SplitFactor& s);
  int PutUser(const User& u);
  // An empty text removes the message of the day.
  int SetMotd(const std::string& text);
  int SetRelease(const Release& r);
  int ClearRelease();
  // A free-form value of the store (the demo's "today").
  int SetValue(const std::string& key, const std::string& value);

  std::vector<Exchange> Exchanges() const;
  std::vector<Currency> Currencies() const;
  // Every instrument, deleted ones included, by sincode.
  std::vector<Instrument> Instruments() const;
  // Instruments whose change date is on or after the date, by sincode.
  std::vector<Instrument> InstrumentsChangedSince(int date) const;
  // The instrument that trades under the symbol now, or else the one that
  // traded under it before its last rename; deleted instruments are not found.
  std::optional<Instrument> FindInstrument(const std::string& symbol) const;
  std::optional<Instrument> InstrumentByCode(int sincode) const;
  // Split factors recorded on or after the date, by record date and sincode.
  std::vector<SplitFactor> SplitsSince(int record_date) const;

  // Prices from the first to the last date, both included; a last date of 0
  // has no upper limit. Ordered by date (and time).
  std::vector<DailyPrice> Daily(int sincode, int first_date, int last_date) const;
  std::optional<DailyPrice> LastDaily(int sincode, int on_or_before) const;
  // Bars and ticks between two moments (date and HHMM / HHMMSS), both included.
  std::vector<Bar> Bars(int sincode, int first_date, int first_time, int last_date, int last_time) const;
  std::vector<Tick> Ticks(int sincode, int first_date, int first_time, int last_date, int last_time) const;

  std::optional<User> FindUser(const std::string& login) const;
  std::optional<std::string> Motd() const;
  std::optional<Release> GetRelease() const;
  std::optional<std::string> Value(const std::string& key) const;

  // Row counts of every table, for logs and tests.
  std::vector<std::pair<std::string, long>> TableCounts() const;

 private:
  explicit Store(sqlite3* db) : db_(db) {}
  int Exec(const char* sql) const;
  // The statement prepared once and reused; bulk writes depend on it.
  StoreStatement Prepare(const std::string& sql) const;

  sqlite3* db_;
  mutable std::unordered_map<std::string, sqlite3_stmt*> statements_;
};

}  // namespace kvqt::server
