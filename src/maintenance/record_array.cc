#include "maintenance/record_array.h"

namespace kvqt {
namespace {

// Plain YYYYMMDD order: a null date sorts first instead of matching every date.
bool Before(Date a, Date b) { return a.value() < b.value(); }

}  // namespace

RecordArray::RecordArray(std::vector<PriceRecord> inFileOrder) {
  records_.reserve(inFileOrder.size() + 1);
  records_.push_back(PriceRecord{});
  records_.insert(records_.end(), inFileOrder.begin(), inFileOrder.end());
}

const PriceRecord& RecordArray::at(int k) const {
  if (k < 0 || k > count()) return records_[0];
  return records_[static_cast<std::size_t>(k)];
}

PriceRecord& RecordArray::at(int k) {
  if (k < 0 || k > count()) {
    // Record 0 stays all zero whatever a caller writes through it.
    records_[0] = PriceRecord{};
    return records_[0];
  }
  return records_[static_cast<std::size_t>(k)];
}

bool RecordArray::remove(int k) {
  if (k < 1 || k > count()) return false;
  records_.erase(records_.begin() + k);
  return true;
}

int RecordArray::remove(const std::vector<int>& ascending) {
  std::size_t next = 0;
  std::size_t kept = 1;
  const std::size_t size = records_.size();
  for (std::size_t k = 1; k < size; ++k) {
    while (next < ascending.size() && ascending[next] < static_cast<int>(k)) ++next;
    if (next < ascending.size() && ascending[next] == static_cast<int>(k)) continue;
    if (kept != k) records_[kept] = records_[k];
    ++kept;
  }
  const int removed = static_cast<int>(size - kept);
  records_.resize(kept);
  return removed;
}

int RecordArray::firstOnOrAfter(Date date) const {
  for (int k = 1; k <= count(); ++k)
    if (!Before(records_[static_cast<std::size_t>(k)].date, date)) return k;
  return 0;
}

int RecordArray::scale(Date start, Date end, double factor) {
  int changed = 0;
  for (int k = 1; k <= count(); ++k) {
    PriceRecord& r = records_[static_cast<std::size_t>(k)];
    if (Before(r.date, start)) continue;
    if (Before(end, r.date)) break;
    r.open = static_cast<float>(r.open * factor);
    r.high = static_cast<float>(r.high * factor);
    r.low = static_cast<float>(r.low * factor);
    r.close = static_cast<float>(r.close * factor);
    r.volume = static_cast<float>(r.volume / factor);
    ++changed;
  }
  return changed;
}

}  // namespace kvqt
