// The local copy of the service's symbol table: currencies, exchanges,
// instruments and announced split factors, kept in "kvqt.sdb" in the program
// directory. Loaded when the object is made, written back (as a whole, through
// a temporary file) when it is destroyed after a change. Record pointers stay
// valid until the next change of their table; searches run over
// tables().instruments.records().
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "service/symbols/sdb_file.h"

namespace kvqt {

class TSintable {
 public:
  static constexpr const char* kFileName = "kvqt.sdb";
  static constexpr const char* kEarlierFileName = "sintab.db";

  enum class Source {
    kNone,         // no file: an empty table
    kCurrent,      // kvqt.sdb
    kEarlier,      // kvqt.sdb in the earlier layout
    kEarlierFile,  // sintab.db
    kDamaged,      // a file that is not a symbol table: an empty table
  };

  // Loads from `directory` (ending in a separator; "" is the current directory).
  explicit TSintable(std::string directory = "");
  // Saves when changed.
  ~TSintable();
  TSintable(const TSintable&) = delete;
  TSintable& operator=(const TSintable&) = delete;

  Source source() const { return source_; }
  // Why a damaged file was not read.
  const std::string& loadError() const { return load_error_; }
  // Writes kvqt.sdb when the table changed. 0, or -1 when it could not be written
  // (the table then stays marked as changed).
  int save();
  bool changed() const { return changed_; }
  std::string path() const { return path_; }
  const SdbTables& tables() const { return tables_; }

  // Currencies; first/next walk the table in order.
  std::int32_t currencyCount() const { return tables_.currencies.count(); }
  const SinItem* currency(std::int32_t i) const { return tables_.currencies.at(i); }
  const SinItem* findCurrency(std::int32_t code) const;
  const SinItem* findCurrencyByName(std::string_view name) const;
  const SinItem* firstCurrency();
  const SinItem* nextCurrency();
  // Adds the currency or replaces the one with its code. 0, or -1 when full.
  int putCurrency(const SinItem& item);

  // Exchanges, the same.
  std::int32_t exchangeCount() const { return tables_.exchanges.count(); }
  const SinItem* exchange(std::int32_t i) const { return tables_.exchanges.at(i); }
  const SinItem* findExchange(std::int32_t code) const;
  const SinItem* findExchangeByName(std::string_view name) const;
  const SinItem* firstExchange();
  const SinItem* nextExchange();
  int putExchange(const SinItem& item);

  // Instruments.
  std::int32_t instrumentCount() const { return tables_.instruments.count(); }
  const SinInstrument* instrument(std::int32_t i) const { return tables_.instruments.at(i); }
  const SinInstrument* findInstrument(std::int32_t sincode) const;
  // The first instrument with exactly this name.
  const SinInstrument* findInstrumentByName(std::string_view name) const;
  // 1 added, 0 when the sincode is present already, -1 when full.
  int addInstrument(const SinInstrument& r);
  // 1 replaced, 0 when the sincode is absent.
  int replaceInstrument(const SinInstrument& r);
  // 1 deleted (the last record takes its place), 0 when absent.
  int deleteInstrument(std::int32_t sincode);

  // Split factors, identified by sincode and record date.
  std::int32_t splitFactorCount() const { return tables_.split_factors.count(); }
  const SinSplitFactor* splitFactor(std::int32_t i) const { return tables_.split_factors.at(i); }
  const SinSplitFactor* findSplitFactor(std::int32_t sincode, Date record_date) const;
  const SinSplitFactor* firstSplitFactor();
  const SinSplitFactor* nextSplitFactor();
  // 1 added (not applied yet), 0 when present, -1 when full.
  int addSplitFactor(const SinSplitFactor& r);
  // 1 set (marks the table changed even when the flag had that value), 0 when absent.
  int setSplitFactorApplied(std::int32_t sincode, Date record_date, bool applied);
  // 1 removed, 0 when absent. The last record takes its place; when that was
  // the record the walk stands on, the walk continues with the moved record.
  int removeSplitFactor(std::int32_t sincode, Date record_date);

 private:
  void load();

  std::string directory_;
  std::string path_;
  SdbTables tables_;
  Source source_ = Source::kNone;
  std::string load_error_;
  bool changed_ = false;
  // One walk position per table, so walking one table never disturbs another.
  std::int32_t currency_walk_ = -1;
  std::int32_t exchange_walk_ = -1;
  std::int32_t split_walk_ = -1;
};

}  // namespace kvqt
