#include "store.h"

#include <sqlite3.h>

#include <cstdio>

namespace kvqt::server {
namespace {

const char* const kSchema = R"sql(
BEGIN;
CREATE TABLE IF NOT EXISTS exchanges (code INTEGER PRIMARY KEY, name TEXT NOT NULL);
CREATE TABLE IF NOT EXISTS currencies (code INTEGER PRIMARY KEY, name TEXT NOT NULL);
CREATE TABLE IF NOT EXISTS instruments (
  sincode INTEGER PRIMARY KEY,
  symbol TEXT NOT NULL,
  name TEXT NOT NULL,
  currency INTEGER NOT NULL,
  exchange INTEGER NOT NULL,
  security_type INTEGER NOT NULL,
  start_date INTEGER NOT NULL,
  change_date INTEGER NOT NULL DEFAULT 0,
  previous_symbol TEXT NOT NULL DEFAULT '',
  deleted INTEGER NOT NULL DEFAULT 0);
CREATE INDEX IF NOT EXISTS instruments_by_symbol ON instruments(symbol);
CREATE TABLE IF NOT EXISTS daily_prices (
  sincode INTEGER NOT NULL, date INTEGER NOT NULL,
  open REAL NOT NULL, high REAL NOT NULL, low REAL NOT NULL, close REAL NOT NULL, volume INTEGER NOT NULL,
  PRIMARY KEY (sincode, date)) WITHOUT ROWID;
CREATE TABLE IF NOT EXISTS bars (
  sincode INTEGER NOT NULL, date INTEGER NOT NULL, time INTEGER NOT NULL,
  open REAL NOT NULL, high REAL NOT NULL, low REAL NOT NULL, close REAL NOT NULL, volume INTEGER NOT NULL,
  PRIMARY KEY (sincode, date, time)) WITHOUT ROWID;
CREATE TABLE IF NOT EXISTS ticks (
  sincode INTEGER NOT NULL, date INTEGER NOT NULL, time INTEGER NOT NULL, sequence INTEGER NOT NULL,
  price REAL NOT NULL, volume INTEGER NOT NULL,
  PRIMARY KEY (sincode, date, time, sequence)) WITHOUT ROWID;
CREATE TABLE IF NOT EXISTS splits (
  sincode INTEGER NOT NULL, record_date INTEGER NOT NULL, split_date INTEGER NOT NULL, factor REAL NOT NULL,
  PRIMARY KEY (sincode, record_date));
CREATE TABLE IF NOT EXISTS users (
  login TEXT PRIMARY KEY, password TEXT NOT NULL, credit TEXT NOT NULL, active INTEGER NOT NULL DEFAULT 1);
CREATE TABLE IF NOT EXISTS motd (id INTEGER PRIMARY KEY CHECK (id = 1), text TEXT NOT NULL);
CREATE TABLE IF NOT EXISTS releases (id INTEGER PRIMARY KEY CHECK (id = 1), version INTEGER NOT NULL, data BLOB NOT NULL);
CREATE TABLE IF NOT EXISTS store_values (key TEXT PRIMARY KEY, value TEXT NOT NULL);
COMMIT;
)sql";

const char* const kTables[] = {"exchanges", "currencies", "instruments", "daily_prices", "bars",
                               "ticks",     "splits",     "users",       "motd",         "releases"};

void Report(sqlite3* db, const char* what) { std::fprintf(stderr, "store: %s: %s\n", what, sqlite3_errmsg(db)); }

}  // namespace

// One use of a cached prepared statement; reset for the next use on leaving the scope.
class StoreStatement {
 public:
  StoreStatement(sqlite3* db, sqlite3_stmt* stmt) : db_(db), stmt_(stmt) {}
  ~StoreStatement() {
    if (stmt_) {
      sqlite3_reset(stmt_);
      sqlite3_clear_bindings(stmt_);
    }
  }
  StoreStatement(const StoreStatement&) = delete;
  StoreStatement& operator=(const StoreStatement&) = delete;

  bool ok() const { return stmt_ != nullptr; }
  StoreStatement& bind(int index, std::int64_t value) {
    if (stmt_) sqlite3_bind_int64(stmt_, index, value);
    return *this;
  }
  StoreStatement& bind(int index, int value) { return bind(index, static_cast<std::int64_t>(value)); }
  StoreStatement& bind(int index, double value) {
    if (stmt_) sqlite3_bind_double(stmt_, index, value);
    return *this;
  }
  StoreStatement& bind(int index, const std::string& value) {
    if (stmt_) sqlite3_bind_text(stmt_, index, value.data(), static_cast<int>(value.size()), SQLITE_TRANSIENT);
    return *this;
  }
  StoreStatement& bindBlob(int index, const std::string& value) {
    if (stmt_) sqlite3_bind_blob(stmt_, index, value.data(), static_cast<int>(value.size()), SQLITE_TRANSIENT);
    return *this;
  }
  // True while a row is there.
  bool step() {
    if (!stmt_) return false;
    int rc = sqlite3_step(stmt_);
    if (rc == SQLITE_ROW) return true;
    if (rc != SQLITE_DONE) Report(db_, "step");
    return false;
  }
  // Runs a statement that returns no rows; 0 or -1.
  int run() {
    if (!stmt_) return -1;
    int rc = sqlite3_step(stmt_);
    if (rc == SQLITE_DONE) return 0;
    Report(db_, "write");
    return -1;
  }
  int integer(int column) const { return sqlite3_column_int(stmt_, column); }
  std::int64_t integer64(int column) const { return sqlite3_column_int64(stmt_, column); }
  double real(int column) const { return sqlite3_column_double(stmt_, column); }
  std::string text(int column) const {
    const void* bytes = sqlite3_column_blob(stmt_, column);
    int size = sqlite3_column_bytes(stmt_, column);
    return bytes == nullptr || size <= 0 ? std::string() : std::string(static_cast<const char*>(bytes), size);
  }

 private:
  sqlite3* db_;
  sqlite3_stmt* stmt_ = nullptr;
};

namespace {

const char* const kInstrumentColumns =
    "sincode, symbol, name, currency, exchange, security_type, start_date, change_date, previous_symbol, deleted";

Instrument ReadInstrument(const StoreStatement& s) {
  Instrument i;
  i.sincode = s.integer(0);
  i.symbol = s.text(1);
  i.name = s.text(2);
  i.currency = s.integer(3);
  i.exchange = s.integer(4);
  i.security_type = s.integer(5);
  i.start_date = s.integer(6);
  i.change_date = s.integer(7);
  i.previous_symbol = s.text(8);
  i.deleted = s.integer(9) != 0;
  return i;
}

std::vector<Instrument> ReadInstruments(StoreStatement& s) {
  std::vector<Instrument> out;
  while (s.step()) out.push_back(ReadInstrument(s));
  return out;
}

}  // namespace

std::unique_ptr<Store> Store::Open(const std::string& path, bool create, std::string* error) {
  sqlite3* db = nullptr;
  int flags = SQLITE_OPEN_READWRITE | (create ? SQLITE_OPEN_CREATE : 0);
  if (sqlite3_open_v2(path.c_str(), &db, flags, nullptr) != SQLITE_OK) {
    *error = db != nullptr ? sqlite3_errmsg(db) : "out of memory";
    sqlite3_close(db);
    return nullptr;
  }
  sqlite3_busy_timeout(db, 2000);
  // The store is rebuilt from its source (init-demo) rather than recovered, so
  // waiting for the disk at every commit buys nothing.
  sqlite3_exec(db, "PRAGMA synchronous = OFF", nullptr, nullptr, nullptr);
  std::unique_ptr<Store> store(new Store(db));
  if (create && store->Exec(kSchema) != 0) {
    *error = sqlite3_errmsg(db);
    return nullptr;
  }
  // A file that is not one of our stores is refused here rather than failing later.
  StoreStatement check = store->Prepare("SELECT count(*) FROM instruments");
  if (!check.ok() || !check.step()) {
    *error = "not a kvqt-server store";
    return nullptr;
  }
  return store;
}

Store::~Store() {
  for (auto& entry : statements_) sqlite3_finalize(entry.second);
  sqlite3_close(db_);
}

StoreStatement Store::Prepare(const std::string& sql) const {
  auto found = statements_.find(sql);
  if (found != statements_.end()) return StoreStatement(db_, found->second);
  sqlite3_stmt* stmt = nullptr;
  if (sqlite3_prepare_v2(db_, sql.c_str(), -1, &stmt, nullptr) != SQLITE_OK) {
    Report(db_, sql.c_str());
    return StoreStatement(db_, nullptr);
  }
  statements_.emplace(sql, stmt);
  return StoreStatement(db_, stmt);
}

int Store::Exec(const char* sql) const {
  char* message = nullptr;
  if (sqlite3_exec(db_, sql, nullptr, nullptr, &message) == SQLITE_OK) return 0;
  std::fprintf(stderr, "store: %s\n", message != nullptr ? message : "error");
  sqlite3_free(message);
  return -1;
}

int Store::Begin() { return Exec("BEGIN"); }
int Store::Commit() { return Exec("COMMIT"); }
int Store::Rollback() { return Exec("ROLLBACK"); }

int Store::PutExchange(const Exchange& e) {
  return Prepare("INSERT OR REPLACE INTO exchanges VALUES (?, ?)").bind(1, e.code).bind(2, e.name).run();
}

int Store::PutCurrency(const Currency& c) {
  return Prepare("INSERT OR REPLACE INTO currencies VALUES (?, ?)").bind(1, c.code).bind(2, c.name).run();
}

int Store::PutInstrument(const Instrument& i) {
  StoreStatement s = Prepare("INSERT OR REPLACE INTO instruments VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?)");
  s.bind(1, i.sincode).bind(2, i.symbol).bind(3, i.name).bind(4, i.currency).bind(5, i.exchange);
  s.bind(6, i.security_type).bind(7, i.start_date).bind(8, i.change_date).bind(9, i.previous_symbol);
  return s.bind(10, i.deleted ? 1 : 0).run();
}

int Store::PutDaily(int sincode, const DailyPrice& p) {
  StoreStatement s = Prepare("INSERT OR REPLACE INTO daily_prices VALUES (?, ?, ?, ?, ?, ?, ?)");
  s.bind(1, sincode).bind(2, p.date).bind(3, p.open).bind(4, p.high).bind(5, p.low).bind(6, p.close);
  return s.bind(7, p.volume).run();
}

int Store::PutBar(int sincode, const Bar& b) {
  StoreStatement s = Prepare("INSERT OR REPLACE INTO bars VALUES (?, ?, ?, ?, ?, ?, ?, ?)");
  s.bind(1, sincode).bind(2, b.date).bind(3, b.time).bind(4, b.open).bind(5, b.high).bind(6, b.low);
  return s.bind(7, b.close).bind(8, b.volume).run();
}

int Store::PutTick(int sincode, const Tick& t) {
  StoreStatement s = Prepare("INSERT OR REPLACE INTO ticks VALUES (?, ?, ?, ?, ?, ?)");
  s.bind(1, sincode).bind(2, t.date).bind(3, t.time).bind(4, t.sequence).bind(5, t.price).bind(6, t.volume);
  return s.run();
}

int Store::PutSplit(const SplitFactor& f) {
  StoreStatement s = Prepare("INSERT OR REPLACE INTO splits VALUES (?, ?, ?, ?)");
  return s.bind(1, f.sincode).bind(2, f.record_date).bind(3, f.split_date).bind(4, f.factor).run();
}

int Store::PutUser(const User& u) {
  StoreStatement s = Prepare("INSERT OR REPLACE INTO users VALUES (?, ?, ?, ?)");
  return s.bind(1, u.login).bind(2, u.password).bind(3, u.credit).bind(4, u.active ? 1 : 0).run();
}

int Store::SetMotd(const std::string& text) {
  if (text.empty()) return Prepare("DELETE FROM motd").run();
  return Prepare("INSERT OR REPLACE INTO motd VALUES (1, ?)").bind(1, text).run();
}

int Store::SetRelease(const Release& r) {
  StoreStatement s = Prepare("INSERT OR REPLACE INTO releases VALUES (1, ?, ?)");
  return s.bind(1, r.version).bindBlob(2, r.data).run();
}

int Store::ClearRelease() { return Prepare("DELETE FROM releases").run(); }

int Store::SetValue(const std::string& key, const std::string& value) {
  return Prepare("INSERT OR REPLACE INTO store_values VALUES (?, ?)").bind(1, key).bind(2, value).run();
}

std::vector<Exchange> Store::Exchanges() const {
  std::vector<Exchange> out;
  StoreStatement s = Prepare("SELECT code, name FROM exchanges ORDER BY code");
  while (s.step()) out.push_back({s.integer(0), s.text(1)});
  return out;
}

std::vector<Currency> Store::Currencies() const {
  std::vector<Currency> out;
  StoreStatement s = Prepare("SELECT code, name FROM currencies ORDER BY code");
  while (s.step()) out.push_back({s.integer(0), s.text(1)});
  return out;
}

std::vector<Instrument> Store::Instruments() const {
  StoreStatement s = Prepare((std::string("SELECT ") + kInstrumentColumns + " FROM instruments ORDER BY sincode").c_str());
  return ReadInstruments(s);
}

std::vector<Instrument> Store::InstrumentsChangedSince(int date) const {
  StoreStatement s = Prepare((std::string("SELECT ") + kInstrumentColumns +
                    " FROM instruments WHERE change_date >= ? AND change_date > 0 ORDER BY sincode")
                       .c_str());
  s.bind(1, date);
  return ReadInstruments(s);
}

std::optional<Instrument> Store::FindInstrument(const std::string& symbol) const {
  // The current symbol wins over a former one.
  StoreStatement s = Prepare((std::string("SELECT ") + kInstrumentColumns +
                    " FROM instruments WHERE deleted = 0 AND (symbol = ?1 OR previous_symbol = ?1)"
                    " ORDER BY symbol = ?1 DESC, sincode LIMIT 1")
                       .c_str());
  s.bind(1, symbol);
  if (!s.step()) return std::nullopt;
  return ReadInstrument(s);
}

std::optional<Instrument> Store::InstrumentByCode(int sincode) const {
  StoreStatement s = Prepare((std::string("SELECT ") + kInstrumentColumns + " FROM instruments WHERE sincode = ?").c_str());
  s.bind(1, sincode);
  if (!s.step()) return std::nullopt;
  return ReadInstrument(s);
}

std::vector<SplitFactor> Store::SplitsSince(int record_date) const {
  std::vector<SplitFactor> out;
  StoreStatement s = Prepare("SELECT sincode, record_date, split_date, factor FROM splits WHERE record_date >= ?"
              " ORDER BY record_date, sincode");
  s.bind(1, record_date);
  while (s.step()) out.push_back({s.integer(0), s.integer(1), s.integer(2), s.real(3)});
  return out;
}

std::vector<DailyPrice> Store::Daily(int sincode, int first_date, int last_date) const {
  std::vector<DailyPrice> out;
  StoreStatement s = Prepare("SELECT date, open, high, low, close, volume FROM daily_prices"
              " WHERE sincode = ? AND date >= ? AND (? = 0 OR date <= ?) ORDER BY date");
  s.bind(1, sincode).bind(2, first_date).bind(3, last_date).bind(4, last_date);
  while (s.step()) out.push_back({s.integer(0), s.real(1), s.real(2), s.real(3), s.real(4), s.integer64(5)});
  return out;
}

std::optional<DailyPrice> Store::LastDaily(int sincode, int on_or_before) const {
  StoreStatement s = Prepare("SELECT date, open, high, low, close, volume FROM daily_prices"
              " WHERE sincode = ? AND date <= ? ORDER BY date DESC LIMIT 1");
  s.bind(1, sincode).bind(2, on_or_before);
  if (!s.step()) return std::nullopt;
  return DailyPrice{s.integer(0), s.real(1), s.real(2), s.real(3), s.real(4), s.integer64(5)};
}

std::vector<Bar> Store::Bars(int sincode, int first_date, int first_time, int last_date, int last_time) const {
  std::vector<Bar> out;
  StoreStatement s = Prepare("SELECT date, time, open, high, low, close, volume FROM bars WHERE sincode = ?1"
              " AND date * 10000 + time BETWEEN ?2 AND ?3 ORDER BY date, time");
  s.bind(1, sincode);
  s.bind(2, static_cast<std::int64_t>(first_date) * 10000 + first_time);
  s.bind(3, static_cast<std::int64_t>(last_date) * 10000 + last_time);
  while (s.step()) {
    out.push_back({s.integer(0), s.integer(1), s.real(2), s.real(3), s.real(4), s.real(5), s.integer64(6)});
  }
  return out;
}

std::vector<Tick> Store::Ticks(int sincode, int first_date, int first_time, int last_date, int last_time) const {
  std::vector<Tick> out;
  StoreStatement s = Prepare("SELECT date, time, sequence, price, volume FROM ticks WHERE sincode = ?1"
              " AND date * 1000000 + time BETWEEN ?2 AND ?3 ORDER BY date, time, sequence");
  s.bind(1, sincode);
  s.bind(2, static_cast<std::int64_t>(first_date) * 1000000 + first_time);
  s.bind(3, static_cast<std::int64_t>(last_date) * 1000000 + last_time);
  while (s.step()) out.push_back({s.integer(0), s.integer(1), s.integer(2), s.real(3), s.integer64(4)});
  return out;
}

std::optional<User> Store::FindUser(const std::string& login) const {
  StoreStatement s = Prepare("SELECT login, password, credit, active FROM users WHERE login = ?");
  s.bind(1, login);
  if (!s.step()) return std::nullopt;
  return User{s.text(0), s.text(1), s.text(2), s.integer(3) != 0};
}

std::optional<std::string> Store::Motd() const {
  StoreStatement s = Prepare("SELECT text FROM motd WHERE id = 1");
  if (!s.step()) return std::nullopt;
  return s.text(0);
}

std::optional<Release> Store::GetRelease() const {
  StoreStatement s = Prepare("SELECT version, data FROM releases WHERE id = 1");
  if (!s.step()) return std::nullopt;
  return Release{s.integer(0), s.text(1)};
}

std::optional<std::string> Store::Value(const std::string& key) const {
  StoreStatement s = Prepare("SELECT value FROM store_values WHERE key = ?");
  s.bind(1, key);
  if (!s.step()) return std::nullopt;
  return s.text(0);
}

std::vector<std::pair<std::string, long>> Store::TableCounts() const {
  std::vector<std::pair<std::string, long>> out;
  for (const char* table : kTables) {
    StoreStatement s = Prepare((std::string("SELECT count(*) FROM ") + table).c_str());
    out.emplace_back(table, s.step() ? static_cast<long>(s.integer64(0)) : -1L);
  }
  return out;
}

}  // namespace kvqt::server
