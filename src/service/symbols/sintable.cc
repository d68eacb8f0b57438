#include "service/symbols/sintable.h"

#include "app/core/logs.h"
#include "platform/atomic_file.h"
#include "platform/path.h"

namespace kvqt {
namespace {

template <typename Record>
const Record* Walk(const KeyedRecords<Record>& table, std::int32_t& walk, bool first) {
  if (first) {
    walk = 0;
  } else if (walk < table.count()) {
    ++walk;
  }
  return table.at(walk);
}

const SinItem* FindByName(const KeyedRecords<SinItem>& table, std::string_view name) {
  for (const SinItem& r : table.records()) {
    if (r.name == name) return &r;
  }
  return nullptr;
}

int Put(KeyedRecords<SinItem>& table, const SinItem& item) {
  const std::int32_t i = table.find(KeyOf(item));
  if (i >= 0) {
    table.replaceAt(i, item);
    return 0;
  }
  return table.append(item) ? 0 : -1;
}

}  // namespace

TSintable::TSintable(std::string directory) : directory_(std::move(directory)) { load(); }

TSintable::~TSintable() { save(); }

void TSintable::load() {
  path_ = platform::FindFileNoCase(directory_, kFileName);
  SdbLayout layout = SdbLayout::kCurrent;
  if (platform::FileExists(path_)) {
    if (ReadSdbFile(path_, tables_, &layout, &load_error_) == 0) {
      source_ = layout == SdbLayout::kEarlier ? Source::kEarlier : Source::kCurrent;
    } else {
      source_ = Source::kDamaged;
      debugFormat("%s: %s; the symbol table starts empty", path_.c_str(), load_error_.c_str());
    }
    return;
  }
  const std::string earlier = platform::FindFileNoCase(directory_, kEarlierFileName);
  if (!platform::FileExists(earlier)) return;
  if (ReadSdbFile(earlier, tables_, &layout, &load_error_) == 0) {
    source_ = Source::kEarlierFile;
    // Saved at once in the current file.
    changed_ = true;
  } else {
    source_ = Source::kDamaged;
    debugFormat("%s: %s; the symbol table starts empty", earlier.c_str(), load_error_.c_str());
  }
}

int TSintable::save() {
  if (!changed_) return 0;
  if (!platform::WriteFileAtomically(path_, SerializeSdb(tables_))) {
    debugFormat("Error writing %s", path_.c_str());
    return -1;
  }
  changed_ = false;
  return 0;
}

const SinItem* TSintable::findCurrency(std::int32_t code) const {
  return tables_.currencies.at(tables_.currencies.find(code));
}
const SinItem* TSintable::findCurrencyByName(std::string_view name) const {
  return FindByName(tables_.currencies, name);
}
const SinItem* TSintable::firstCurrency() { return Walk(tables_.currencies, currency_walk_, true); }
const SinItem* TSintable::nextCurrency() { return Walk(tables_.currencies, currency_walk_, false); }
int TSintable::putCurrency(const SinItem& item) {
  changed_ = true;
  return Put(tables_.currencies, item);
}

const SinItem* TSintable::findExchange(std::int32_t code) const {
  return tables_.exchanges.at(tables_.exchanges.find(code));
}
const SinItem* TSintable::findExchangeByName(std::string_view name) const {
  return FindByName(tables_.exchanges, name);
}
const SinItem* TSintable::firstExchange() { return Walk(tables_.exchanges, exchange_walk_, true); }
const SinItem* TSintable::nextExchange() { return Walk(tables_.exchanges, exchange_walk_, false); }
int TSintable::putExchange(const SinItem& item) {
  changed_ = true;
  return Put(tables_.exchanges, item);
}

const SinInstrument* TSintable::findInstrument(std::int32_t sincode) const {
  return tables_.instruments.at(tables_.instruments.find(sincode));
}

const SinInstrument* TSintable::findInstrumentByName(std::string_view name) const {
  for (const SinInstrument& r : tables_.instruments.records()) {
    if (r.name == name) return &r;
  }
  return nullptr;
}

int TSintable::addInstrument(const SinInstrument& r) {
  if (tables_.instruments.find(r.sincode) >= 0) return 0;
  if (!tables_.instruments.append(r)) return -1;
  changed_ = true;
  return 1;
}

int TSintable::replaceInstrument(const SinInstrument& r) {
  const std::int32_t i = tables_.instruments.find(r.sincode);
  if (i < 0) return 0;
  tables_.instruments.replaceAt(i, r);
  changed_ = true;
  return 1;
}

int TSintable::deleteInstrument(std::int32_t sincode) {
  const std::int32_t i = tables_.instruments.find(sincode);
  if (i < 0) return 0;
  tables_.instruments.removeAt(i);
  changed_ = true;
  return 1;
}

const SinSplitFactor* TSintable::findSplitFactor(std::int32_t sincode, Date record_date) const {
  return tables_.split_factors.at(tables_.split_factors.find(SplitFactorKey(sincode, record_date)));
}
const SinSplitFactor* TSintable::firstSplitFactor() { return Walk(tables_.split_factors, split_walk_, true); }
const SinSplitFactor* TSintable::nextSplitFactor() { return Walk(tables_.split_factors, split_walk_, false); }

int TSintable::addSplitFactor(const SinSplitFactor& r) {
  if (tables_.split_factors.find(KeyOf(r)) >= 0) return 0;
  if (!tables_.split_factors.append(r)) return -1;
  changed_ = true;
  return 1;
}

int TSintable::setSplitFactorApplied(std::int32_t sincode, Date record_date, bool applied) {
  const std::int32_t i = tables_.split_factors.find(SplitFactorKey(sincode, record_date));
  if (i < 0) return 0;
  tables_.split_factors.mutableAt(i).applied = applied;
  changed_ = true;
  return 1;
}

int TSintable::removeSplitFactor(std::int32_t sincode, Date record_date) {
  const std::int32_t i = tables_.split_factors.find(SplitFactorKey(sincode, record_date));
  if (i < 0) return 0;
  tables_.split_factors.removeAt(i);
  // The moved record now stands where the walk is; step back so that the next
  // step reaches it.
  if (i == split_walk_) --split_walk_;
  changed_ = true;
  return 1;
}

}  // namespace kvqt
