#include "maintenance/price_chart_points.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace kvqt {
namespace {

// A data file may hold anything: what is no finite number draws as 0.
double Finite(float value) { return std::isfinite(value) ? value : 0.0; }

// "hh:mm", or "hh:mm:ss" for tick data: the time of a record's text.
std::string TimeText(PriceKind kind, Time time) {
  const std::string when = RecordWhenText(kind, Date(2000, 1, 1), time);
  const std::size_t blank = when.find(' ');
  return blank == std::string::npos ? when : when.substr(blank + 1);
}

}  // namespace

PriceChartPoints::PriceChartPoints(const RecordArray& records, int columns) : records_(records.count()) {
  const int n = records_;
  if (n < 1) return;
  const int w = std::clamp(columns, 1, n);
  volumes_.assign(static_cast<std::size_t>(w), 0.0);
  close_.reserve(static_cast<std::size_t>(w) * 4);
  lowClose_ = highClose_ = Finite(records.at(1).close);
  int k = 1;
  for (int b = 0; b < w; ++b) {
    // The records whose middle, (k - 0.5) * w / n, lies in [b, b + 1).
    const std::int64_t twice = 2 * (static_cast<std::int64_t>(b) + 1) * n + w - 1;
    const int end = static_cast<int>(std::min<std::int64_t>(twice / (2 * static_cast<std::int64_t>(w)), n));
    int low = k, high = k;
    double volume = 0;
    for (int i = k; i <= end; ++i) {
      const PriceRecord& r = records.at(i);
      if (Finite(r.close) < Finite(records.at(low).close)) low = i;
      if (Finite(r.close) > Finite(records.at(high).close)) high = i;
      volume = std::max(volume, Finite(r.volume));
    }
    volumes_[static_cast<std::size_t>(b)] = volume;
    highVolume_ = std::max(highVolume_, volume);
    lowClose_ = std::min(lowClose_, Finite(records.at(low).close));
    highClose_ = std::max(highClose_, Finite(records.at(high).close));
    int picks[4] = {k, std::min(low, high), std::max(low, high), end};
    int previous = 0;
    for (int pick : picks) {
      if (pick == previous) continue;
      close_.push_back({recordX(pick), Finite(records.at(pick).close)});
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
  // Intraday data tell their dates apart by the date, one day's by the time.
  const bool oneDay = kind != PriceKind::kDaily && records.at(1).date == records.at(n).date;
  for (int i = 0; i < count; ++i) {
    const int k = count == 1 ? 1 : 1 + static_cast<int>(static_cast<std::int64_t>(i) * (n - 1) / (count - 1));
    const PriceRecord& r = records.at(k);
    labels.push_back({recordX(k), oneDay ? TimeText(kind, r.time) : RecordWhenText(PriceKind::kDaily, r.date, r.time)});
  }
  return labels;
}

}  // namespace kvqt
