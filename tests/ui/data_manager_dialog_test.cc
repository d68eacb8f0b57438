// The data manager's window and its price, goto and split dialogs, driven by
// their control ids over MetaStock data files written by the drivers, and
// opened by a download session for a split factor from kvqt-server.
#include "ui/data_manager_dialog.h"

#include <QAbstractItemModel>
#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QTest>
#include <QTreeView>
#include <filesystem>
#include <functional>
#include <map>

#include "app/model/datafile.h"
#include "app/model/directory.h"
#include "app/model/format.h"
#include "formats/format_driver.h"
#include "maintenance/data_manager.h"
#include "maintenance/data_manager_open.h"
#include "service/symbols/sintable.h"
#include "session_fixture.h"
#include "ui/dialog_test_util.h"
#include "ui/edit_price_dialog.h"
#include "ui/goto_dialog.h"
#include "ui/price_chart.h"
#include "ui/progress_dialog.h"
#include "ui/qt_test_app.h"
#include "ui/split_dialog.h"

namespace kvqt::ui {
namespace {

using kvqt::testing::AfterAct;
using kvqt::testing::Control;
using kvqt::testing::OnceOpen;

constexpr int kMetaStock = 4;

std::string Text(QWidget& dialog, int id) {
  if (auto* edit = dialog.findChild<QLineEdit*>(QString("id%1").arg(id))) return edit->text().toStdString();
  if (auto* label = dialog.findChild<QLabel*>(QString("id%1").arg(id))) return label->text().toStdString();
  if (auto* box = dialog.findChild<QGroupBox*>(QString("id%1").arg(id))) return box->title().toStdString();
  ADD_FAILURE() << "no text control " << id;
  return std::string();
}

void Type(QWidget& dialog, int id, const char* text) { Control<QLineEdit>(dialog, id)->setText(text); }
void Click(QWidget& dialog, int id) { Control<QPushButton>(dialog, id)->click(); }

QTreeView* List(QWidget& dialog) { return Control<QTreeView>(dialog, 456); }
std::string Cell(QWidget& dialog, int row, int column) {
  return List(dialog)->model()->index(row, column).data().toString().toStdString();
}
// Selects the rows of the records (numbers as shown) as a click and control-clicks would.
void SelectRecords(QWidget& dialog, std::initializer_list<int> records) {
  QTreeView* list = List(dialog);
  list->selectionModel()->clear();
  for (int k : records)
    list->selectionModel()->setCurrentIndex(list->model()->index(k - 1, 0),
                                            QItemSelectionModel::Select | QItemSelectionModel::Rows);
}

PriceRecord Day(Date date, float price, float volume) {
  PriceRecord r;
  r.date = date;
  r.open = r.high = r.low = r.close = price;
  r.volume = volume;
  return r;
}

// Ten days from 3 January 2000 at 100, volume 1000; from `jump` on at 50, volume 2000.
std::vector<PriceRecord> TenDays(int jump = 11) {
  std::vector<PriceRecord> days;
  for (int i = 0; i < 10; ++i)
    days.push_back(i + 1 < jump ? Day(Date(2000, 1, 3).addDays(i), 100, 1000) : Day(Date(2000, 1, 3).addDays(i), 50, 2000));
  return days;
}

class DataManagerDialogTest : public testing::QtTest {
 protected:
  void SetUp() override {
    QtTest::SetUp();
    path_ = dir_.path() + "ms/";
    std::filesystem::create_directory(path_);
    format_.setMaxNameLength(45);
    format_.addDirectory(std::make_unique<Directory>(path_, kMetaStock));
    directory_ = format_.directoryAt(0);
  }

  // ABC in the MetaStock directory with the records, and its Datafile.
  Datafile& Instrument(const std::vector<PriceRecord>& records) {
    DatafileEntry entry;
    EXPECT_EQ(1, CreateEntry("ABC", "Abc Corp", 0, entry, kMetaStock, path_));
    DatafileHandle handle;
    EXPECT_EQ(0, OpenDatafile(entry, handle, kMetaStock, OpenMode::kAppend, path_));
    for (const PriceRecord& r : records) EXPECT_EQ(0, WriteRecord(entry, handle, r, kMetaStock));
    EXPECT_EQ(0, FinalizeDirectory(entry, handle, kMetaStock, path_));
    auto datafile = std::make_unique<Datafile>("ABC", "Abc Corp", kMetaStock, 30);
    if (!records.empty()) datafile->setDates(records.front().date, records.back().date, static_cast<int>(records.size()));
    else datafile->setDates(Date(), Date(), 0);
    return *directory_->add(std::move(datafile));
  }

  std::vector<PriceRecord> Records() {
    std::vector<PriceRecord> records;
    DatafileEntry entry;
    if (FindEntry("ABC", entry, kMetaStock, path_, kScanReadHeader) != 0) return records;
    DatafileHandle handle;
    if (OpenDatafile(entry, handle, kMetaStock, OpenMode::kRead, path_) != 0) return records;
    PriceRecord r;
    while (records.size() < 1000 && ReadRecord(entry, handle, r, kMetaStock) == 0) records.push_back(r);
    return records;
  }

  DatafileEntry Entry() {
    DatafileEntry entry;
    EXPECT_EQ(0, FindEntry("ABC", entry, kMetaStock, path_, kScanReadHeader));
    return entry;
  }

  std::map<std::string, std::string> Bytes() { return testing::Snapshot(path_); }

  // Opens the data manager as the file manager's Open does; `act` runs on it.
  void Open(Datafile& datafile, std::function<void(DataManagerDialog&)> act) {
    bool acted = false;
    OnceOpen<DataManagerDialog>([&](DataManagerDialog& dialog) {
      act(dialog);
      acted = true;
      if (dialog.isVisible()) dialog.reject();
    }, AfterAct::kLeaveOpen);
    EXPECT_EQ(1, OpenDataManager(format_, *directory_, datafile));
    EXPECT_TRUE(acted);
  }

  ScopedDataManagerWindow window_{true};
  std::string path_;
  Format format_{"MS", "Metastock", kMetaStock};
  Directory* directory_ = nullptr;
};

TEST_F(DataManagerDialogTest, OpensWithTheFieldsRangeAndRowsOfTheDatafile) {
  Datafile& abc = Instrument(TenDays());
  Open(abc, [](DataManagerDialog& dialog) {
    EXPECT_EQ("KORV_DATAMANAGER", dialog.objectName().toStdString());
    EXPECT_EQ("Metastock", Text(dialog, 266));
    EXPECT_EQ("Abc Corp", Text(dialog, 101));
    EXPECT_EQ("ABC", Text(dialog, 279));
    EXPECT_EQ("1.00", Text(dialog, 423));
    EXPECT_EQ("3/1/2000 - 12/1/2000", Text(dialog, 680));
    EXPECT_EQ("prices (10)", Text(dialog, 455));
    QAbstractItemModel* model = List(dialog)->model();
    ASSERT_EQ(10, model->rowCount());
    const char* titles[] = {"date", "open", "high", "low", "close", "volume"};
    for (int c = 0; c < 6; ++c)
      EXPECT_EQ(titles[c], model->headerData(c, Qt::Horizontal).toString().toStdString());
    EXPECT_EQ("  12/1/2000", Cell(dialog, 9, 0));
    EXPECT_EQ("  100.00", Cell(dialog, 9, 4));
    EXPECT_EQ("  1000", Cell(dialog, 9, 5));
    EXPECT_EQ(10, model->index(9, 0).data(Qt::UserRole).toInt());
    // The end of the data shows; nothing is selected yet.
    EXPECT_EQ(0, dialog.currentRecord());
    EXPECT_EQ(9, List(dialog)->currentIndex().row());
    EXPECT_EQ(10, dialog.chart()->points().buckets());
  });
}

TEST_F(DataManagerDialogTest, EditAndDeleteAreSavedToTheDatafileAndTheMaster) {
  Datafile& abc = Instrument(TenDays());
  Open(abc, [this](DataManagerDialog& dialog) {
    SelectRecords(dialog, {4});
    EXPECT_EQ(4, dialog.chart()->selectedRecord());
    OnceOpen<EditPriceDialog>([](EditPriceDialog& edit) {
      EXPECT_EQ("\n6/1/2000", Text(edit, 110));
      EXPECT_EQ("100.00", Text(edit, 463));
      EXPECT_EQ("1000", Text(edit, 464));
      Type(edit, 461, "130");
      Type(edit, 463, "123.5");
      Type(edit, 464, "5000");
      Click(edit, 1);
    }, AfterAct::kLeaveOpen);
    Click(dialog, 342);
    EXPECT_EQ("  123.50", Cell(dialog, 3, 4));
    EXPECT_EQ("  5000", Cell(dialog, 3, 5));
    EXPECT_DOUBLE_EQ(123.5, dialog.chart()->points().highClose());  // the close line redrawn
    EXPECT_EQ(4, dialog.currentRecord());

    // The first and the last record go: the range moves in from both ends.
    SelectRecords(dialog, {1, 10});
    messages_->answerNext(true);
    Click(dialog, 375);
    EXPECT_EQ(std::vector<std::string>{"Delete data for selected dates?"}, Shown());
    EXPECT_EQ("prices (8)", Text(dialog, 455));
    EXPECT_EQ("4/1/2000 - 11/1/2000", Text(dialog, 680));
    EXPECT_EQ(8, List(dialog)->model()->rowCount());
    EXPECT_EQ(8, dialog.chart()->points().records());
    Click(dialog, 1);
    EXPECT_FALSE(dialog.isVisible());
  });
  const std::vector<PriceRecord> records = Records();
  ASSERT_EQ(8u, records.size());
  EXPECT_EQ(Date(2000, 1, 4), records[0].date);
  EXPECT_EQ(Date(2000, 1, 6), records[2].date);
  EXPECT_FLOAT_EQ(123.5f, records[2].close);
  EXPECT_FLOAT_EQ(130, records[2].high);
  EXPECT_FLOAT_EQ(5000, records[2].volume);
  EXPECT_FLOAT_EQ(100, records[3].close);
  const DatafileEntry entry = Entry();
  EXPECT_EQ(Date(2000, 1, 4), entry.firstDate);
  EXPECT_EQ(Date(2000, 1, 11), entry.lastDate);
  EXPECT_EQ(9, entry.recordCount);  // with the header record
  EXPECT_EQ(8, abc.recordCount());
  EXPECT_EQ(Date(2000, 1, 11), abc.lastDate());
}

TEST_F(DataManagerDialogTest, CancelWritesNothing) {
  Datafile& abc = Instrument(TenDays());
  const auto before = Bytes();
  Open(abc, [this](DataManagerDialog& dialog) {
    SelectRecords(dialog, {2});
    OnceOpen<EditPriceDialog>([](EditPriceDialog& edit) {
      Type(edit, 463, "1");
      Click(edit, 1);
    }, AfterAct::kLeaveOpen);
    Click(dialog, 342);
    SelectRecords(dialog, {5, 6});
    messages_->answerNext(true);
    Click(dialog, 375);
    Type(dialog, 101, "Other name");
    Type(dialog, 423, "2");
    ASSERT_EQ("prices (8)", Text(dialog, 455));
    Click(dialog, 2);
    EXPECT_FALSE(dialog.isVisible());
  });
  // Only the delete question was asked.
  EXPECT_EQ(std::vector<std::string>{"Delete data for selected dates?"}, Shown());
  EXPECT_EQ(before, Bytes());
  EXPECT_EQ(10, abc.recordCount());
  EXPECT_EQ("Abc Corp", abc.name());
  EXPECT_FLOAT_EQ(1, abc.factor());
}

TEST_F(DataManagerDialogTest, SplitProposedFromThePriceJumpAndAppliedThroughTheDialog) {
  Datafile& abc = Instrument(TenDays(7));  // 50 from 9 January
  Open(abc, [this](DataManagerDialog& dialog) {
    SelectRecords(dialog, {7});
    OnceOpen<SplitDialog>([this, &dialog](SplitDialog& split) {
      EXPECT_EQ("3/1/2000", Text(split, 172));
      EXPECT_EQ("8/1/2000", Text(split, 173));
      EXPECT_EQ("2.00", Text(split, 373));  // "Split" B
      EXPECT_EQ("1.00", Text(split, 372));  // "for" A
      // The chart marks where the split ends.
      EXPECT_EQ(7, dialog.chart()->splitRecord());
      Type(split, 372, "none");
      Click(split, 1);
      EXPECT_EQ(std::vector<std::string>{"Illegal split factor"}, Shown());
      EXPECT_EQ("", Text(split, 372));
      EXPECT_TRUE(split.isVisible());
      Type(split, 372, "1");
      Click(split, 1);
      EXPECT_FALSE(split.isVisible());
    }, AfterAct::kLeaveOpen);
    Click(dialog, 186);
    EXPECT_EQ("  50.00", Cell(dialog, 0, 4));
    EXPECT_EQ("  2000", Cell(dialog, 5, 5));
    EXPECT_EQ(7, dialog.currentRecord());
    EXPECT_EQ(7, dialog.chart()->splitRecord());
    EXPECT_DOUBLE_EQ(50, dialog.chart()->points().highClose());  // no jump left
    Click(dialog, 1);
  });
  for (const PriceRecord& r : Records()) {
    EXPECT_FLOAT_EQ(50, r.close) << r.date.value();
    EXPECT_FLOAT_EQ(2000, r.volume) << r.date.value();
  }
}

TEST_F(DataManagerDialogTest, SplitOnTheLastRowAsksWhetherTheLastDayIsSplitToo) {
  Datafile& abc = Instrument(TenDays());
  Open(abc, [this](DataManagerDialog& dialog) {
    SelectRecords(dialog, {10});
    messages_->answerNext(true);
    OnceOpen<SplitDialog>([](SplitDialog& split) {
      EXPECT_EQ("12/1/2000", Text(split, 173));
      EXPECT_EQ("1.00", Text(split, 373));
      EXPECT_EQ("1.00", Text(split, 372));
      Click(split, 2);
    }, AfterAct::kLeaveOpen);
    Click(dialog, 186);
    EXPECT_EQ(std::vector<std::string>{"Split also last day of datafile?"}, Shown());
    EXPECT_EQ(0, dialog.chart()->splitRecord());  // cancelled: no mark
    Click(dialog, 1);
  });
  EXPECT_EQ(10u, Records().size());
}

TEST_F(DataManagerDialogTest, GotoSelectsTheFirstRecordOnOrAfterTheDate) {
  Datafile& abc = Instrument(TenDays());
  Open(abc, [this](DataManagerDialog& dialog) {
    SelectRecords(dialog, {2});
    OnceOpen<GotoDialog>([this](GotoDialog& go) {
      EXPECT_EQ("4/1/2000", Text(go, 172));
      Type(go, 172, "31/2/2000");
      Click(go, 1);
      EXPECT_EQ(std::vector<std::string>{"Invalid date\n\nEnter as YYYYMMDD or D/M/YYYY"}, Shown());
      EXPECT_TRUE(go.isVisible());
      Type(go, 172, "20000108");
      Click(go, 1);
    }, AfterAct::kLeaveOpen);
    Click(dialog, 374);
    EXPECT_EQ(6, dialog.currentRecord());
    EXPECT_EQ((std::vector<int>{6}), dialog.selectedRecords());
    EXPECT_EQ(6, dialog.chart()->selectedRecord());
  });
}

TEST_F(DataManagerDialogTest, AClickOnTheChartSelectsTheRecordUnderIt) {
  Datafile& abc = Instrument(TenDays());
  Open(abc, [](DataManagerDialog& dialog) {
    PriceChart* chart = dialog.chart();
    ASSERT_TRUE(QTest::qWaitFor([&] { return chart->chart()->plotArea().width() > 10; }));
    const QPointF at = chart->chart()->mapToPosition(QPointF(chart->points().recordX(3), 100));
    QTest::mouseClick(chart->viewport(), Qt::LeftButton, Qt::NoModifier, at.toPoint());
    EXPECT_EQ(3, dialog.currentRecord());
    EXPECT_EQ((std::vector<int>{3}), dialog.selectedRecords());
    EXPECT_EQ(3, chart->selectedRecord());
  });
}

TEST_F(DataManagerDialogTest, EmptyDatafileShowsNoneAndDisablesTheRecordButtons) {
  Datafile& abc = Instrument({});
  Open(abc, [](DataManagerDialog& dialog) {
    EXPECT_EQ("prices (none)", Text(dialog, 455));
    EXPECT_EQ(0, List(dialog)->model()->rowCount());
    EXPECT_FALSE(List(dialog)->isEnabled());
    for (int id : {342, 374, 375, 186}) EXPECT_FALSE(Control<QPushButton>(dialog, id)->isEnabled()) << id;
    EXPECT_TRUE(Control<QPushButton>(dialog, 1)->isEnabled());
  });
}

TEST_F(DataManagerDialogTest, TickDataHidesOpenHighAndLow) {
  Format intraday("MSI", "Metastock Intraday", 20);
  intraday.addDirectory(std::make_unique<Directory>(path_, 20));
  Directory& directory = *intraday.directoryAt(0);
  auto* ticks = directory.add(std::make_unique<Datafile>("TCK", "Ticks", 20, 30));
  ticks->setInterval(0);
  PriceRecord tick = Day(Date(2001, 3, 4), 12.5f, 300);
  tick.time = Time(9, 5, 7);
  DataManager manager(intraday, directory, *ticks, RecordArray({tick}));
  DataManagerDialog dialog(manager, nullptr);
  dialog.show();
  EXPECT_EQ("4/3/2001 09:05:07 - 4/3/2001 09:05:07 tick-by-tick", Text(dialog, 680));
  EXPECT_EQ("date/time", List(dialog)->model()->headerData(0, Qt::Horizontal).toString().toStdString());
  EXPECT_EQ("  4/3/2001 09:05:07", Cell(dialog, 0, 0));
  for (int column = 0; column < 6; ++column)
    EXPECT_EQ(column >= 1 && column <= 3, List(dialog)->isColumnHidden(column)) << column;
  dialog.reject();
}

// A download session whose result brings the server's two-for-one split of
// ABC from 8 January 2024: the data manager opens on the local history,
// proposes the split, and saves it when the user says "Split".
class DataManagerSessionTest : public testing::DownloadSessionFixture {
 protected:
  void SetUp() override {
    testing::TestApp();
    DownloadSessionFixture::SetUp();
    profile().putString("splitfactors", "yes");
    profile().putString("splitfactorsdate", "20240101");
  }

  ScopedDataManagerWindow window_{true};
};

TEST_F(DataManagerSessionTest, SplitFactorOpensTheDataManagerAndTheSplitIsApplied) {
  const std::string dir = outer.path() + "history/";
  std::filesystem::create_directory(dir);
  DatafileEntry entry;
  ASSERT_EQ(1, CreateEntry("ABC", "ABC Inc", 0, entry, kMetaStock, dir));
  DatafileHandle handle;
  ASSERT_EQ(0, OpenDatafile(entry, handle, kMetaStock, OpenMode::kAppend, dir));
  for (int day : {27, 28, 29}) ASSERT_EQ(0, WriteRecord(entry, handle, Day(Date(2023, 12, day), 10, 1000), kMetaStock));
  ASSERT_EQ(0, FinalizeDirectory(entry, handle, kMetaStock, dir));
  formats.add(std::make_unique<Format>("MS", "Metastock", kMetaStock));
  Format& ms = *formats.findById(kMetaStock);
  ms.addDirectory(std::make_unique<Directory>(dir, kMetaStock));
  action.kind = 0;
  action.type = 1;
  action.sourceFormat = &ms;
  action.sourceDirectory = ms.directoryByName(dir);
  StartServer();

  // What the user sees: the data manager on ABC with the proposed split over it.
  int splits = 0;
  std::string range;
  std::map<int, std::string> proposal;
  int splitMark = 0;
  QTimer watcher;
  QObject::connect(&watcher, &QTimer::timeout, [&] {
    auto* split = qobject_cast<SplitDialog*>(QApplication::activeModalWidget());
    if (!split) return;
    ++splits;
    for (int id : {172, 173, 372, 373}) proposal[id] = Text(*split, id);
    if (auto* manager = qobject_cast<DataManagerDialog*>(split->parentWidget())) {
      range = Text(*manager, 680);
      splitMark = manager->chart()->splitRecord();
    }
    Click(*split, 1);
  });
  watcher.start(10);
  ProgressDialog progress(nullptr, ProgressVariant::Details, DownloadSession, &action, kDownloadSessionSteps,
                          "Download Session");
  EXPECT_EQ(kStepFinished, progress.run());
  watcher.stop();
  server->Join();

  EXPECT_EQ(1, splits);
  EXPECT_EQ("27/12/2023 - 29/12/2023", range);
  EXPECT_EQ("27/12/2023", proposal[172]);
  EXPECT_EQ("29/12/2023", proposal[173]);
  EXPECT_EQ("2.00", proposal[373]);
  EXPECT_EQ("1.00", proposal[372]);
  EXPECT_EQ(4, splitMark);  // after the last record: the whole history
  DatafileEntry after;
  ASSERT_EQ(0, FindEntry("ABC", after, kMetaStock, dir, kScanReadHeader));
  DatafileHandle read;
  ASSERT_EQ(0, OpenDatafile(after, read, kMetaStock, OpenMode::kRead, dir));
  std::vector<PriceRecord> records;
  PriceRecord r;
  while (records.size() < 100 && ReadRecord(after, read, r, kMetaStock) == 0) records.push_back(r);
  // The halved history, then the downloaded days from 2 January 2024.
  ASSERT_GT(records.size(), 3u);
  for (std::size_t i = 0; i < 3; ++i) {
    EXPECT_FLOAT_EQ(5, records[i].close) << i;
    EXPECT_FLOAT_EQ(2000, records[i].volume) << i;
  }
  EXPECT_EQ(20240102, records[3].date.value());
  TSintable table(programDir);
  ASSERT_EQ(1, table.splitFactorCount());
  EXPECT_TRUE(table.splitFactor(0)->applied);
}

}  // namespace
}  // namespace kvqt::ui
