// "KORV_DATAMANAGER": the price records of one data file in a list with a
// price chart under it, corrected, deleted, searched by date and split, and
// written back on "&Save and Close". A thin view over DataManager.
#pragma once

#include <QDialog>
#include <vector>

#include "maintenance/data_manager_view.h"

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTreeView;

namespace kvqt {
class DataManager;
}

namespace kvqt::ui {

class PriceChart;
class PriceRecordModel;

class DataManagerDialog : public QDialog {
  Q_OBJECT

 public:
  DataManagerDialog(DataManager& manager, QWidget* parent);

  PriceChart* chart() const { return chart_; }
  // The record of the current row; 0 for none.
  int currentRecord() const;
  // The records of the selected rows, lowest first.
  std::vector<int> selectedRecords() const;
  // Makes record k the current row (selected when `select`) and scrolls to it.
  void showRecord(int k, bool select);

 QSize sizeHint() const override;

 protected:
  void showEvent(QShowEvent* event) override;

 private slots:
  void edit();
  void gotoDate();
  void deleteRecords();
  void split();
  void saveAndClose();
  void firstTick();

 private:
  void refill();
  void sizeColumns();
  void updateTexts();
  int runSplit(int k);

  DataManager& manager_;
  PriceRecordModel* model_;
  QLineEdit* name_;
  QLineEdit* symbol_;
  QLineEdit* factor_;
  QLabel* range_;
  QGroupBox* prices_;
  QTreeView* list_;
  PriceChart* chart_;
  std::vector<QPushButton*> recordButtons_;
  bool ticked_ = false;
};

// The data manager's window for the core: each opening shows the dialog
// modally over the active window and returns when it has closed.
class DataManagerWindow : public DataManagerView {
 public:
  void run(DataManager& manager) override;
};

// Installs the window for the lifetime of the object (a session with a
// window); `install` false leaves the headless data manager in place.
class ScopedDataManagerWindow {
 public:
  explicit ScopedDataManagerWindow(bool install);
  ~ScopedDataManagerWindow();
  ScopedDataManagerWindow(const ScopedDataManagerWindow&) = delete;
  ScopedDataManagerWindow& operator=(const ScopedDataManagerWindow&) = delete;

 private:
  DataManagerWindow window_;
  bool installed_;
  DataManagerView* previous_ = nullptr;
};

}  // namespace kvqt::ui
