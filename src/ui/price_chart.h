// The data manager's price chart: the close line over the volume bars of the
// records in memory, with the selected record and a proposed split marked,
// so a jump in the prices shows at a glance. The records are summarised to
// the pixel columns of the plot (PriceChartPoints), so a long data file
// draws as fast as a short one.
#pragma once

#include <QChartView>

#include "maintenance/price_chart_points.h"

class QBarSeries;
class QBarSet;
class QCategoryAxis;
class QLineSeries;
class QValueAxis;

namespace kvqt::ui {

class PriceChart : public QChartView {
  Q_OBJECT

 public:
  explicit PriceChart(QWidget* parent);

  // The records to draw; they stay owned by the caller. Draws them.
  void setRecords(const RecordArray* records, PriceKind kind);
  // Draws the records again after they changed.
  void redraw();
  // Marks record k (0: no mark).
  void setSelectedRecord(int k);
  // Marks a split that ends before record k (0: no mark).
  void setSplitRecord(int k);

  int selectedRecord() const { return selected_; }
  int splitRecord() const { return split_; }
  // What was drawn last.
  const PriceChartPoints& points() const { return points_; }

 signals:
  // A click on the chart asks for the record under it.
  void recordClicked(int k);

 protected:
  void mousePressEvent(QMouseEvent* event) override;

 private:
  int columns() const;
  void placeMarks();

  const RecordArray* records_ = nullptr;
  PriceKind kind_ = PriceKind::kDaily;
  PriceChartPoints points_;
  int drawnColumns_ = 0;
  int selected_ = 0;
  int split_ = 0;
  double priceLow_ = 0;
  double priceHigh_ = 1;

  QLineSeries* close_;
  QBarSet* volumeSet_;
  QBarSeries* volume_;
  QLineSeries* selectedMark_;
  QLineSeries* splitMark_;
  QCategoryAxis* dates_;
  QValueAxis* prices_;
  QValueAxis* volumes_;
};

}  // namespace kvqt::ui
