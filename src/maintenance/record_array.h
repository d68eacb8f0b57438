// The price records of one data file in memory, numbered as the data manager
// shows them: records 1..count in file order, oldest first. Element 0 is an
// unused all-zero record, so record k - 1 of record k always exists.
#pragma once

#include <cstdint>
#include <vector>

#include "formats/price_record.h"

namespace kvqt {

class RecordArray {
 public:
  RecordArray() : records_(1) {}
  // The records in file order become records 1..n.
  explicit RecordArray(std::vector<PriceRecord> inFileOrder);

  int count() const { return static_cast<int>(records_.size()) - 1; }
  // k in 0..count; anything else is the unused record 0.
  const PriceRecord& at(int k) const;
  PriceRecord& at(int k);

  // Removes record k (1..count); the later records move one place down.
  // False for a k out of range.
  bool remove(int k);
  // Removes the records of the ascending, distinct numbers in one pass;
  // numbers out of range are passed over. Returns how many went.
  int remove(const std::vector<int>& ascending);

  // The first record dated on or after `date`; 0 when there is none.
  int firstOnOrAfter(Date date) const;

  // Multiplies open, high, low and close by `factor` and divides the volume by
  // it, for the records in file order from the first one dated on or after
  // `start` up to the first one dated after `end`. Returns how many changed.
  int scale(Date start, Date end, double factor);

  // Records 1..count, for writing.
  const PriceRecord* begin() const { return records_.data() + 1; }
  const PriceRecord* end() const { return records_.data() + records_.size(); }

 private:
  std::vector<PriceRecord> records_;
};

}  // namespace kvqt
