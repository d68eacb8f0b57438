#include "service/import/date_merge.h"

#include <cstdint>

namespace kvqt {
namespace {

int Order(std::int32_t a, std::int32_t b) { return a < b ? -1 : a > b ? 1 : 0; }

int Compare(const PriceRecord& a, const PriceRecord& b, bool byTime) {
  int byDate = Order(a.date.value(), b.date.value());
  if (byDate != 0 || !byTime) return byDate;
  return Order(a.time.value(), b.time.value());
}

}  // namespace

bool MergeByDate(const std::vector<PriceRecord>& stored, const std::vector<PriceRecord>& incoming, bool byTime,
                 std::vector<PriceRecord>& merged) {
  merged.clear();
  merged.reserve(stored.size() + incoming.size());
  std::size_t next = 0;
  bool extends = true;
  for (std::size_t i = 0; i < incoming.size(); ++i) {
    const PriceRecord& record = incoming[i];
    while (next < stored.size() && Compare(stored[next], record, byTime) < 0) merged.push_back(stored[next++]);
    if (i == 0) extends = next == stored.size();
    merged.push_back(record);
    if (next < stored.size() && Compare(stored[next], record, byTime) == 0) ++next;
  }
  merged.insert(merged.end(), stored.begin() + static_cast<std::ptrdiff_t>(next), stored.end());
  return extends;
}

}  // namespace kvqt
