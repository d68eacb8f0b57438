#include "maintenance/price_chart_points.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace kvqt {

PriceChartPoints::PriceChartPoints(const RecordArray& records, int columns) : records_(records.count()) {
  const int n = records_;
  if (n < 1) return;
  const int w = std::clamp(columns, 1, n);
  volumes_.assign(static_cast<std::size_t>(w), 0.0);
  close_.reserve(static_cast<std::size_t>(w) * 4);
  lowClose_ = highClose_ = records.at(1).close;
  int k = 1;
  for (int b = 0; b < w; ++b) {
    // The records whose middle, (k - 0.5) * w / n, lies in [b, b + 1).
    const std::int64_t twice = 2 * (static_cast<std::int64_t>(b) + 1) * n + w - 1;
    const int end = static_cast<int>(std::min<std::int64_t>(twice / (2 * static_cast<std::int64_t>(w)), n));
    int low = k, high = k;
    double volume = 0;
    for (int i = k; i <= end; ++i) {
      const PriceRecord& r = records.at(i);
      if (r.close < records.at(low).close) low = i;
      if (r.close > records.at(high).close) high = i;
      volume = std::max(volume, static_cast<double>(r.volume));
    }
    volumes_[static_cast<std::size_t>(b)] = volume;
    highVolume_ = std::max(highVolume_, volume);
    lowClose_ = std::min(lowClose_, static_cast<double>(records.at(low).close));
    highClose_ = std::max(highClose_, static_cast<double>(records.at(high).close));
    int picks[4] = {k, std::min(low, high), std::max(low, high), end};
    int previous = 0;
    for (int pick : picks) {
      if (pick == previous) continue;
      close_.push_back({recordX(pick), records.at(pick).close});
      previous = pick;
    }
    k = end + 1;
  }
}

double PriceChartPoints::recordX(int k) const {
  if (records_ < 1) return 0;
  // The middle of the record's share of the width.
  return (k - 0.5) * buckets() / records_ - 0.5;
}

double PriceChartPoints::boundaryX(int k) const {
  if (records_ < 1) return 0;
  k = std::clamp(k, 1, records_ + 1);
  return static_cast<double>(k - 1) * buckets() / records_ - 0.5;
}

int PriceChartPoints::recordAt(double x) const {
  if (records_ < 1) return 0;
  // The record whose share of the width holds x.
  const double share = std::floor((x + 0.5) * records_ / buckets()) + 1;
  return static_cast<int>(std::clamp(share, 1.0, static_cast<double>(records_)));
}

int PriceChartPoints::bucketOf(int k) const {
  if (records_ < 1) return 0;
  k = std::clamp(k, 1, records_);
  return static_cast<int>((2 * static_cast<std::int64_t>(k) - 1) * buckets() / (2 * static_cast<std::int64_t>(records_)));
}

std::vector<ChartDateLabel> PriceChartPoints::dateLabels(const RecordArray& records, PriceKind kind,
                                                         int wanted) const {
  std::vector<ChartDateLabel> labels;
  const int n = std::min(records_, records.count());
  if (n < 1 || wanted < 1) return labels;
  const int count = std::min(wanted, n);
  for (int i = 0; i < count; ++i) {
    const int k = count == 1 ? 1 : 1 + static_cast<int>(static_cast<std::int64_t>(i) * (n - 1) / (count - 1));
    const PriceRecord& r = records.at(k);
    labels.push_back({recordX(k), RecordWhenText(kind, r.date, r.time)});
  }
  return labels;
}

}  // namespace kvqt
