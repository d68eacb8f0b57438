#include "ui/price_chart.h"

#include <QBarSeries>
#include <QBarSet>
#include <QCategoryAxis>
#include <QChart>
#include <QLineSeries>
#include <QMouseEvent>
#include <QPen>
#include <QSet>
#include <QValueAxis>
#include <algorithm>
#include <memory>

namespace kvqt::ui {
namespace {

// Share of the plot's height the volume bars take at most, at its foot.
constexpr double kVolumeShare = 0.25;
// Room one date label takes on the axis.
constexpr int kDateLabelWidth = 110;

QLineSeries* Mark(const QString& name, const QColor& color, Qt::PenStyle style) {
  auto* mark = new QLineSeries;
  mark->setName(name);
  QPen pen(color);
  pen.setWidth(1);
  pen.setStyle(style);
  mark->setPen(pen);
  return mark;
}

}  // namespace

PriceChart::PriceChart(QWidget* parent) : QChartView(parent) {
  setObjectName("priceChart");
  setAccessibleName(tr("Price chart"));
  setMinimumSize(360, 210);
  setRenderHint(QPainter::Antialiasing, false);
  // The list beside it is the keyboard's way to the records.
  setFocusPolicy(Qt::NoFocus);

  auto* chart = new QChart;
  chart->setAnimationOptions(QChart::NoAnimation);
  // Room on the right for half of the last date label.
  chart->setMargins(QMargins(2, 2, 28, 2));
  chart->setBackgroundRoundness(0);
  chart->legend()->setAlignment(Qt::AlignTop);
  QFont small = font();
  chart->legend()->setFont(small);

  volumeSet_ = new QBarSet(tr("volume"));
  volumeSet_->setColor(QColor(150, 170, 200));
  volumeSet_->setBorderColor(QColor(150, 170, 200));
  volume_ = new QBarSeries;
  volume_->append(volumeSet_);
  volume_->setBarWidth(0.7);
  close_ = new QLineSeries;
  close_->setName(tr("close"));
  QPen closePen(QColor(20, 60, 140));
  closePen.setWidth(1);
  close_->setPen(closePen);
  selectedMark_ = Mark(tr("selected"), QColor(40, 140, 60), Qt::SolidLine);
  splitMark_ = Mark(tr("split"), QColor(200, 30, 30), Qt::DashLine);

  chart->addSeries(volume_);
  chart->addSeries(close_);
  chart->addSeries(selectedMark_);
  chart->addSeries(splitMark_);

  dates_ = new QCategoryAxis;
  dates_->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
  dates_->setLabelsFont(small);
  dates_->setGridLineVisible(false);
  prices_ = new QValueAxis;
  prices_->setLabelsFont(small);
  prices_->setLabelFormat("%.2f");
  volumes_ = new QValueAxis;
  volumes_->setVisible(false);
  chart->addAxis(dates_, Qt::AlignBottom);
  chart->addAxis(prices_, Qt::AlignLeft);
  chart->addAxis(volumes_, Qt::AlignRight);
  volume_->attachAxis(dates_);
  volume_->attachAxis(volumes_);
  for (QLineSeries* line : {close_, selectedMark_, splitMark_}) {
    line->attachAxis(dates_);
    line->attachAxis(prices_);
  }
  // The view made a chart of its own, which it lets go of unowned when replaced.
  std::unique_ptr<QChart> madeByTheView(this->chart());
  setChart(chart);
  // The plot's width is known once the chart has laid itself out: the records
  // are drawn again to its columns when it changed much.
  connect(chart, &QChart::plotAreaChanged, this, [this] {
    const int now = columns();
    if (records_ && std::abs(now - drawnColumns_) > drawnColumns_ / 10) redraw();
  }, Qt::QueuedConnection);
}

void PriceChart::setRecords(const RecordArray* records, PriceKind kind) {
  records_ = records;
  kind_ = kind;
  redraw();
}

int PriceChart::columns() const {
  // Before the first layout the plot has no size yet: the widget's width less
  // the axes is close enough, and the resize redraws.
  const int plot = static_cast<int>(chart()->plotArea().width());
  return std::max(50, plot > 10 ? plot : width() - 80);
}

void PriceChart::redraw() {
  drawnColumns_ = columns();
  points_ = records_ ? PriceChartPoints(*records_, drawnColumns_) : PriceChartPoints();

  QList<QPointF> line;
  line.reserve(static_cast<qsizetype>(points_.closeLine().size()));
  for (const ChartPoint& p : points_.closeLine()) line.append(QPointF(p.x, p.y));
  close_->replace(line);

  QList<qreal> bars(points_.volumeBars().begin(), points_.volumeBars().end());
  volumeSet_->remove(0, volumeSet_->count());
  volumeSet_->append(bars);

  const int buckets = std::max(1, points_.buckets());
  for (const QString& label : dates_->categoriesLabels()) dates_->remove(label);
  dates_->setRange(-0.5, buckets - 0.5);
  if (records_) {
    // Labels must differ; records of the same moment share one.
    QSet<QString> seen;
    for (const ChartDateLabel& label : points_.dateLabels(*records_, kind_, std::max(2, drawnColumns_ / kDateLabelWidth))) {
      const QString text = QString::fromStdString(label.text);
      if (seen.contains(text)) continue;
      seen.insert(text);
      dates_->append(text, label.x);
    }
  }
  dates_->setStartValue(-0.5);

  // The prices above the bars: the line's range fills the upper part.
  double low = points_.lowClose();
  double high = points_.highClose();
  if (high - low < 1e-9) {
    const double pad = std::max(1.0, std::abs(high) * 0.05);
    low -= pad;
    high += pad;
  }
  const double span = high - low;
  priceLow_ = low - span * (kVolumeShare / (1 - kVolumeShare)) - span * 0.05;
  priceHigh_ = high + span * 0.05;
  prices_->setRange(priceLow_, priceHigh_);
  prices_->applyNiceNumbers();
  priceLow_ = prices_->min();
  priceHigh_ = prices_->max();
  volumes_->setRange(0, points_.highVolume() > 0 ? points_.highVolume() / kVolumeShare : 1);
  placeMarks();
}

void PriceChart::setSelectedRecord(int k) {
  selected_ = k;
  placeMarks();
}

void PriceChart::setSplitRecord(int k) {
  split_ = k;
  placeMarks();
}

void PriceChart::placeMarks() {
  const int count = points_.records();
  QList<QPointF> selected;
  if (selected_ >= 1 && selected_ <= count) {
    const double x = points_.recordX(selected_);
    selected = {QPointF(x, priceLow_), QPointF(x, priceHigh_)};
  }
  selectedMark_->replace(selected);
  QList<QPointF> split;
  if (split_ >= 1 && count >= 1) {
    const double x = points_.boundaryX(split_);
    split = {QPointF(x, priceLow_), QPointF(x, priceHigh_)};
  }
  splitMark_->replace(split);
}

void PriceChart::mousePressEvent(QMouseEvent* event) {
  const QPointF position = event->position();
  if (event->button() != Qt::LeftButton || !chart()->plotArea().contains(position) || points_.records() < 1) {
    QChartView::mousePressEvent(event);
    return;
  }
  emit recordClicked(points_.recordAt(chart()->mapToValue(position, close_).x()));
}

}  // namespace kvqt::ui
