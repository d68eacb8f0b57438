// What the data manager's price chart draws: the close line and the volume
// bars over the records in memory, summarised to at most one bucket per
// pixel column, so a data file of any length draws as fast as a short one.
#pragma once

#include <string>
#include <vector>

#include "maintenance/data_manager_texts.h"
#include "maintenance/record_array.h"

namespace kvqt {

struct ChartPoint {
  double x = 0;
  double y = 0;
};

struct ChartDateLabel {
  double x = 0;
  std::string text;
};

class PriceChartPoints {
 public:
  PriceChartPoints() = default;
  // Records 1..count in at most `columns` buckets (at least 1). With as many
  // columns as records every record is a bucket of its own.
  PriceChartPoints(const RecordArray& records, int columns);

  int records() const { return records_; }
  // Bucket b covers the x values from b - 0.5 to b + 0.5; its bar stands at b.
  int buckets() const { return static_cast<int>(volumes_.size()); }

  // The close line: per bucket the first, lowest, highest and last close in
  // record order (fewer when they coincide), each at its record's x.
  const std::vector<ChartPoint>& closeLine() const { return close_; }
  // Per bucket the highest volume of its records.
  const std::vector<double>& volumeBars() const { return volumes_; }

  double lowClose() const { return lowClose_; }
  double highClose() const { return highClose_; }
  double highVolume() const { return highVolume_; }

  // The x of record k (1..count); the records of one bucket spread over it.
  double recordX(int k) const;
  // The x between record k - 1 and record k: where a split that ends before
  // record k is marked. Beyond the last record it is the right edge.
  double boundaryX(int k) const;
  // The record nearest to x (a click on the chart); 0 without records.
  int recordAt(double x) const;
  // The bucket that holds record k.
  int bucketOf(int k) const;

  // Up to `wanted` date labels spread evenly from the first to the last
  // record, each with the date of the record under it, or its time when
  // intraday records are all of one day.
  std::vector<ChartDateLabel> dateLabels(const RecordArray& records, PriceKind kind, int wanted) const;

 private:
  int records_ = 0;
  std::vector<ChartPoint> close_;
  std::vector<double> volumes_;
  double lowClose_ = 0;
  double highClose_ = 0;
  double highVolume_ = 0;
};

}  // namespace kvqt
