// The catalogue search dialog in browse and pick/add mode and the add-confirm
// dialog, driven by their control ids over a symbol table in the program
// directory.
#include "ui/search_dialog.h"

#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QTreeView>

#include "app/application.h"
#include "app/model/datafile.h"
#include "app/model/directory.h"
#include "app/model/format.h"
#include "app/model/format_ids.h"
#include "app/model/format_table.h"
#include "app/model/formats.h"
#include "formats/format_driver.h"
#include "maintenance/instrument_search.h"
#include "maintenance/start_date_text.h"
#include "platform/path.h"
#include "service/symbols/sintable.h"
#include "symbols/catalogue_instrument.h"
#include "ui/add_confirm_dialog.h"
#include "ui/commands.h"
#include "ui/dialog_commands.h"
#include "ui/dialog_test_util.h"
#include "ui/main_window.h"
#include "ui/qt_test_app.h"
#include "ui/search_results_model.h"

namespace kvqt::ui {
namespace {

using kvqt::testing::CatalogueInstrument;
using kvqt::testing::Control;
using kvqt::testing::OnceOpen;
using kvqt::testing::QtTest;

std::string Text(QLineEdit* field) { return field->text().toStdString(); }

class SearchDialogTest : public QtTest {
 protected:
  void SetUp() override {
    QtTest::SetUp();
    LastSearch() = {};
    // The symbol table as a download leaves it in the program directory.
    TSintable table(dir_.path());
    ASSERT_EQ(0, table.putExchange({1, "Amsterdam"}));
    ASSERT_EQ(0, table.putExchange({2, "Brussels"}));
    ASSERT_EQ(0, table.putCurrency({1, "EUR"}));
    ASSERT_EQ(0, table.putCurrency({2, "USD"}));
    const SinInstrument instruments[] = {
        CatalogueInstrument(5001, "BANK", "Bank of Holland", 16, 1, 1, Date(1999, 2, 3)),
        CatalogueInstrument(5002, "URB", "URBAN HOLDINGS", 16, 2, 1),
        CatalogueInstrument(5003, "ALB", "Albany Trust", 16, 1, 2, Date(2001, 12, 24)),
        CatalogueInstrument(5004, "AEX", "AEX Index", 0, 1, 1),
        CatalogueInstrument(5005, "BEL20", "Bel 20 Index", 60, 2, 1),
        CatalogueInstrument(5006, "bandx", "Other Thing", 99, 1, 1),
    };
    for (const SinInstrument& r : instruments) ASSERT_EQ(1, table.addInstrument(r));
    ASSERT_EQ(0, table.save());
    MergeFormatTable(formats);
  }
  void TearDown() override {
    LastSearch() = {};
    QtTest::TearDown();
  }

  // The format with that id over a new, empty chart directory.
  Format& Use(int formatId) {
    Format* format = formats.findById(formatId);
    EXPECT_NE(nullptr, format);
    const std::string path = dir_.path() + "chart/";
    EXPECT_TRUE(platform::MakeDirectories(path));
    format->addDirectory(std::make_unique<Directory>(path, formatId));
    directory = format->directoryByName(path);
    return *format;
  }

  // The symbols the directory's master holds, in master order.
  std::vector<std::string> MasterSymbols(int formatId) {
    std::vector<std::string> symbols;
    MasterHandles masters;
    if (OpenMaster(masters, formatId, directory->name()) != 0) return symbols;
    DatafileEntry entry;
    int flags = 0;
    while (symbols.size() < 100 && ScanEntries(masters, formatId, entry, "", flags, directory->name()) == 0) {
      symbols.push_back(entry.symbol);
      flags = kScanContinue;
    }
    CloseMaster(masters);
    return symbols;
  }

  // The messages shown, beside the sincodes the results list shows.
  using QtTest::Shown;

  // The sincodes the results list shows, read from its lines.
  static std::vector<std::int32_t> Shown(SearchDialog& dialog) {
    std::vector<std::int32_t> sincodes;
    QAbstractItemModel* model = Control<QTreeView>(dialog, 347)->model();
    for (int row = 0; row < model->rowCount(); ++row) {
      const std::string line =
          model->index(row, 0).data(SearchResultsModel::kResultLineRole).toString().toStdString();
      std::int32_t sincode = 0;
      EXPECT_TRUE(SincodeOfResultLine(line, sincode)) << line;
      sincodes.push_back(sincode);
    }
    return sincodes;
  }

  static void Search(SearchDialog& dialog, const char* name, const char* symbol = "") {
    Control<QLineEdit>(dialog, 387)->setText(name);
    Control<QLineEdit>(dialog, 386)->setText(symbol);
    dialog.findChild<QPushButton*>("search")->click();
  }

  static void SelectRows(SearchDialog& dialog, std::initializer_list<int> rows) {
    QTreeView* list = Control<QTreeView>(dialog, 347);
    list->selectionModel()->clearSelection();
    for (int row : rows)
      list->selectionModel()->select(list->model()->index(row, 0),
                                     QItemSelectionModel::Select | QItemSelectionModel::Rows);
  }

  Formats formats;
  Directory* directory = nullptr;
};

TEST_F(SearchDialogTest, BrowseModeSearchesAndShowsTheDetails) {
  SearchDialog dialog("", nullptr);
  EXPECT_EQ("KORV_SEARCH", dialog.objectName().toStdString());
  EXPECT_EQ("&Close", Control<QPushButton>(dialog, 1)->text().toStdString());
  EXPECT_TRUE(Control<QRadioButton>(dialog, 400)->isChecked());
  // The lists of the symbol table, after the empty item that sets no condition.
  QComboBox* exchanges = Control<QComboBox>(dialog, 388);
  ASSERT_EQ(3, exchanges->count());
  EXPECT_EQ("Amsterdam", exchanges->itemText(1).toStdString());
  EXPECT_EQ("Brussels", exchanges->itemText(2).toStdString());
  EXPECT_EQ(3, Control<QComboBox>(dialog, 389)->count());

  Search(dialog, "ban");
  EXPECT_TRUE(messages_->shown().empty());
  EXPECT_EQ((std::vector<std::int32_t>{5001, 5002, 5003}), Shown(dialog));
  QTreeView* list = Control<QTreeView>(dialog, 347);
  EXPECT_EQ(0, list->currentIndex().row());
  EXPECT_EQ("Bank of Holland", list->model()->index(0, 0).data().toString().toStdString());
  EXPECT_EQ("5001", list->model()->index(0, 1).data().toString().toStdString());
  const struct {
    int id;
    const char* first;
    const char* third;
  } details[] = {
      {385, "5001", "5003"},     {101, "Bank of Holland", "Albany Trust"}, {279, "BANK", "ALB"},
      {384, "Amsterdam", "Amsterdam"}, {102, "EUR", "USD"},            {383, "Share", "Share"},
      {172, "3/2/1999", "24/12/2001"},
  };
  for (const auto& d : details) EXPECT_EQ(d.first, Text(Control<QLineEdit>(dialog, d.id))) << d.id;
  list->setCurrentIndex(list->model()->index(2, 0));
  for (const auto& d : details) EXPECT_EQ(d.third, Text(Control<QLineEdit>(dialog, d.id))) << d.id;

  // Indices of both codes, with the exchange as a second condition.
  Control<QLineEdit>(dialog, 387)->clear();
  Control<QRadioButton>(dialog, 401)->setChecked(true);
  dialog.findChild<QPushButton*>("search")->click();
  EXPECT_EQ((std::vector<std::int32_t>{5004, 5005}), Shown(dialog));
  EXPECT_EQ("Index", Text(Control<QLineEdit>(dialog, 383)));
  exchanges->setCurrentText("Brussels");
  dialog.findChild<QPushButton*>("search")->click();
  EXPECT_EQ((std::vector<std::int32_t>{5005}), Shown(dialog));

  // The symbol in its own case.
  Control<QRadioButton>(dialog, 400)->setChecked(true);
  exchanges->setCurrentIndex(0);
  Search(dialog, "", "ban");
  EXPECT_EQ((std::vector<std::int32_t>{5006}), Shown(dialog));
  EXPECT_EQ("Other", Text(Control<QLineEdit>(dialog, 383)));
  EXPECT_EQ("", Text(Control<QLineEdit>(dialog, 172)));

  // Nothing found: the details go.
  Search(dialog, "no such name");
  EXPECT_EQ(0, list->model()->rowCount());
  EXPECT_EQ("", Text(Control<QLineEdit>(dialog, 385)));
  EXPECT_TRUE(messages_->shown().empty());
}

TEST_F(SearchDialogTest, RefusedConditions) {
  SearchDialog dialog("", nullptr);
  Search(dialog, "B");
  Search(dialog, "", "B");
  Search(dialog, "", "");
  EXPECT_EQ((std::vector<std::string>{"Search condition for name too short", "Search condition for symbol too short",
                                      "No search conditions specified"}),
            Shown());
  EXPECT_EQ(0, Control<QTreeView>(dialog, 347)->model()->rowCount());
  EXPECT_FALSE(LastSearch().exists);
}

TEST_F(SearchDialogTest, CriteriaKeptAndTheLastSingleSelectionReselected) {
  Format& format = Use(kFormatIdMetastock);
  {
    SearchDialog dialog("", format, *directory, 0, nullptr);
    EXPECT_EQ("No instruments selected", Control<QGroupBox>(dialog, 454)->title().toStdString());
    EXPECT_EQ("Close", Control<QPushButton>(dialog, 1)->text().toStdString());
    Control<QComboBox>(dialog, 389)->setCurrentText("EUR");
    Control<QRadioButton>(dialog, 404)->setChecked(true);
    Search(dialog, "an");
    EXPECT_EQ((std::vector<std::int32_t>{5001, 5002}), Shown(dialog));
    EXPECT_EQ("1 instrument selected", Control<QGroupBox>(dialog, 454)->title().toStdString());
    SelectRows(dialog, {1});
    EXPECT_EQ("Select", Control<QPushButton>(dialog, 1)->text().toStdString());
    Control<QPushButton>(dialog, 1)->click();
    EXPECT_EQ(QDialog::Accepted, dialog.result());
    EXPECT_EQ(1, dialog.pick().selected);
    EXPECT_EQ("URBAN HOLDINGS", dialog.pick().name);
    EXPECT_EQ("URB", dialog.pick().symbol);
    EXPECT_TRUE(dialog.pick().startDate.isNull());
    EXPECT_FALSE(dialog.pick().added);
  }
  // The next opening puts the criteria back, searches again and reselects the row.
  SearchDialog again("", format, *directory, 0, nullptr);
  EXPECT_EQ("an", Text(Control<QLineEdit>(again, 387)));
  EXPECT_EQ("", Text(Control<QLineEdit>(again, 386)));
  EXPECT_EQ("EUR", Control<QComboBox>(again, 389)->currentText().toStdString());
  EXPECT_EQ("", Control<QComboBox>(again, 388)->currentText().toStdString());
  EXPECT_TRUE(Control<QRadioButton>(again, 404)->isChecked());
  EXPECT_EQ((std::vector<std::int32_t>{5001, 5002}), Shown(again));
  QTreeView* list = Control<QTreeView>(again, 347);
  EXPECT_EQ(1, list->currentIndex().row());
  ASSERT_EQ(1, list->selectionModel()->selectedRows().size());
  EXPECT_EQ(1, list->selectionModel()->selectedRows()[0].row());
  EXPECT_EQ("URB", Text(Control<QLineEdit>(again, 279)));

  // A search typed anew starts at the first row; so does the opening after it.
  Search(again, "ban");
  EXPECT_EQ(0, list->currentIndex().row());
  Control<QPushButton>(again, 2)->click();
  EXPECT_EQ(0, again.pick().selected);
  SearchDialog third("", format, *directory, 0, nullptr);
  EXPECT_EQ("ban", Text(Control<QLineEdit>(third, 387)));
  EXPECT_EQ(0, Control<QTreeView>(third, 347)->currentIndex().row());
}

TEST_F(SearchDialogTest, ThreeFoundInstrumentsAddedToAMetaStockDirectory) {
  Format& format = Use(kFormatIdMetastock);
  ASSERT_NE(nullptr, directory);
  SearchDialog dialog("", format, *directory, 0, nullptr);
  Control<QRadioButton>(dialog, 404)->setChecked(true);
  dialog.findChild<QPushButton*>("search")->click();
  ASSERT_EQ((std::vector<std::int32_t>{5001, 5002, 5003}), Shown(dialog));
  SelectRows(dialog, {0, 1, 2});
  EXPECT_EQ("3 instruments selected", Control<QGroupBox>(dialog, 454)->title().toStdString());
  EXPECT_EQ("Add..", Control<QPushButton>(dialog, 1)->text().toStdString());

  // "Back" returns to the search with nothing added.
  OnceOpen<AddConfirmDialog>([](AddConfirmDialog& confirm) { Control<QPushButton>(confirm, 2)->click(); });
  Control<QPushButton>(dialog, 1)->click();
  EXPECT_NE(QDialog::Accepted, dialog.result());
  EXPECT_EQ(0, directory->size());

  bool intervalShown = true;
  std::string question;
  std::string startShown;
  OnceOpen<AddConfirmDialog>([&](AddConfirmDialog& confirm) {
    question = confirm.findChild<QLabel*>("question")->text().toStdString();
    intervalShown = !Control<QLineEdit>(confirm, 681)->isHidden();
    startShown = Text(Control<QLineEdit>(confirm, 172));
    Control<QLineEdit>(confirm, 172)->setText("2/1/2020");
    Control<QPushButton>(confirm, 1)->click();
  });
  Control<QPushButton>(dialog, 1)->click();
  EXPECT_EQ("\nAdd the 3 selected instruments?", question);
  EXPECT_FALSE(intervalShown);
  EXPECT_EQ(DefaultStartDateText(), startShown);
  EXPECT_TRUE(messages_->shown().empty());
  EXPECT_EQ(QDialog::Accepted, dialog.result());
  EXPECT_EQ(3, dialog.pick().selected);
  EXPECT_TRUE(dialog.pick().added);

  // The master holds the three, empty from the start date on.
  EXPECT_EQ((std::vector<std::string>{"BANK", "URB", "ALB"}), MasterSymbols(kFormatIdMetastock));
  ASSERT_EQ(3, directory->size());
  for (const char* symbol : {"BANK", "URB", "ALB"}) {
    const Datafile* datafile = directory->bySymbol(symbol);
    ASSERT_NE(nullptr, datafile) << symbol;
    EXPECT_EQ(Date(2020, 1, 2), datafile->firstDate()) << symbol;
    EXPECT_EQ(Date(2020, 1, 1), datafile->lastDate()) << symbol;
  }
  EXPECT_EQ("Bank of Holland", directory->bySymbol("BANK")->name());
}

TEST_F(SearchDialogTest, NothingIsAddedToAFormatThatTakesNoNewInstruments) {
  Format& format = Use(kFormatIdTechnicalInvestor);
  ASSERT_FALSE(format.addInstruments());
  SearchDialog dialog("", format, *directory, 0, nullptr);
  Search(dialog, "ban");
  SelectRows(dialog, {0, 1});
  // Were a dialog to open, this would find it and close it.
  bool asked = false;
  QTimer::singleShot(0, [&asked] {
    if (auto* confirm = qobject_cast<AddConfirmDialog*>(QApplication::activeModalWidget())) {
      asked = true;
      confirm->reject();
    }
  });
  Control<QPushButton>(dialog, 1)->click();
  QCoreApplication::processEvents();
  EXPECT_FALSE(asked);
  EXPECT_NE(QDialog::Accepted, dialog.result());
  EXPECT_EQ(0, directory->size());
  EXPECT_TRUE(messages_->shown().empty());
}

TEST_F(SearchDialogTest, EnterSearchesFromTheFieldsAndIsButtonOneInTheList) {
  SearchDialog dialog("", nullptr);
  dialog.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
  QLineEdit* name = Control<QLineEdit>(dialog, 387);
  name->setFocus();
  QTest::keyClicks(name, "index");
  QTest::keyClick(name, Qt::Key_Return);
  EXPECT_EQ((std::vector<std::int32_t>{5004, 5005}), Shown(dialog));
  QTreeView* list = Control<QTreeView>(dialog, 347);
  EXPECT_TRUE(list->hasFocus());
  EXPECT_TRUE(dialog.isVisible());
  QTest::keyClick(list, Qt::Key_Return);
  EXPECT_FALSE(dialog.isVisible());
  EXPECT_EQ(QDialog::Accepted, dialog.result());
}

TEST_F(SearchDialogTest, AddConfirmChecksTheIntervalOfIntradayFormats) {
  struct Case {
    const char* interval;
    const char* start;
    bool accepted;
    const char* shown;
    int value;
  } cases[] = {
      {"", "2/1/2020", true, nullptr, 15},
      {"60", "20200102", true, nullptr, 60},
      {"0", "2/1/2020", false, "Invalid interval (1-60)", 0},
      {"61", "2/1/2020", false, "Invalid interval (1-60)", 0},
      {"5", "31/2/2020", false, "Invalid start date\n\nEnter as YYYYMMDD or D/M/YYYY", 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.interval) + " " + c.start);
    messages_->clear();
    AddConfirmDialog confirm(4, true, 0, nullptr);
    EXPECT_EQ("", Text(Control<QLineEdit>(confirm, 681)));
    EXPECT_FALSE(Control<QLineEdit>(confirm, 681)->isHidden());
    Control<QLineEdit>(confirm, 681)->setText(c.interval);
    Control<QLineEdit>(confirm, 172)->setText(c.start);
    Control<QPushButton>(confirm, 1)->click();
    EXPECT_EQ(c.accepted, confirm.result() == QDialog::Accepted);
    if (c.accepted) {
      EXPECT_TRUE(messages_->shown().empty());
      EXPECT_EQ(c.value, confirm.values().interval);
      EXPECT_EQ(Date(2020, 1, 2), confirm.values().start);
    } else {
      ASSERT_EQ(1u, messages_->shown().size());
      EXPECT_EQ(c.shown, messages_->shown()[0].text);
    }
  }
  AddConfirmDialog prefilled(2, true, 5, nullptr);
  EXPECT_EQ("5", Text(Control<QLineEdit>(prefilled, 681)));
}

TEST_F(SearchDialogTest, IntradayInstrumentsGetTheIntervalConfirmed) {
  Format& format = Use(kFormatIdMetastockIntraday);
  SearchDialog dialog("", format, *directory, 5, nullptr);
  Search(dialog, "index");
  SelectRows(dialog, {0, 1});
  std::string interval;
  OnceOpen<AddConfirmDialog>([&](AddConfirmDialog& confirm) {
    interval = Text(Control<QLineEdit>(confirm, 681));
    Control<QLineEdit>(confirm, 681)->setText("");
    Control<QPushButton>(confirm, 1)->click();
  });
  Control<QPushButton>(dialog, 1)->click();
  EXPECT_EQ("5", interval);
  ASSERT_EQ(2, directory->size());
  EXPECT_EQ(15, directory->bySymbol("AEX")->interval());
  EXPECT_EQ((std::vector<std::string>{"AEX", "BEL20"}), MasterSymbols(kFormatIdMetastockIntraday));
}

TEST_F(SearchDialogTest, TheSearchCommandOpensTheBrowseModeOverTheWindow) {
  Application application({});
  MainWindow window;
  ConnectDialogCommands(window, application);
  QAction* command = window.command(kCmdSearch);
  ASSERT_TRUE(command->isEnabled());
  std::string opened;
  std::string button;
  QWidget* parent = nullptr;
  QTimer::singleShot(0, [&] {
    auto* dialog = qobject_cast<SearchDialog*>(QApplication::activeModalWidget());
    if (!dialog) return;
    opened = dialog->objectName().toStdString();
    parent = dialog->parentWidget();
    button = Control<QPushButton>(*dialog, 1)->text().toStdString();
    Control<QPushButton>(*dialog, 1)->click();
  });
  command->trigger();
  EXPECT_EQ("KORV_SEARCH", opened);
  EXPECT_EQ("&Close", button);
  EXPECT_EQ(&window, parent);
}

}  // namespace
}  // namespace kvqt::ui
