#include <QComboBox>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeView>

#include "app/model/format_ids.h"
#include "app/model/format_table.h"
#include "app/model/formats.h"
#include "maintenance/instrument_search.h"
#include "service/symbols/sintable.h"
#include "ui/about_dialog.h"
#include "ui/add_confirm_dialog.h"
#include "ui/commands.h"
#include "ui/main_window.h"
#include "ui/screenshots/screenshot.h"
#include "ui/search_dialog.h"

namespace kvqt::screenshots {
namespace {

// A small catalogue in the shot's program directory.
void WriteSymbolTable(const std::string& directory) {
  TSintable table(directory);
  const SinItem exchanges[] = {{1, "Euronext Amsterdam"}, {2, "Euronext Brussels"}, {3, "Xetra"}, {4, "NYSE"}};
  const SinItem currencies[] = {{1, "EUR"}, {2, "USD"}, {3, "GBP"}};
  for (const SinItem& e : exchanges) table.putExchange(e);
  for (const SinItem& c : currencies) table.putCurrency(c);
  const struct {
    std::int32_t sincode;
    const char* symbol;
    const char* name;
    int type;
    int exchange;
    int currency;
    Date start;
  } rows[] = {
      {10231, "ABN", "ABN Amro Holding", 16, 1, 1, Date(1991, 1, 2)},
      {10232, "AGN", "Aegon", 16, 1, 1, Date(1985, 6, 3)},
      {10240, "ASML", "ASML Holding", 16, 1, 1, Date(1995, 3, 14)},
      {10255, "INGA", "ING Groep", 16, 1, 1, Date(1991, 1, 2)},
      {10260, "HEIA", "Heineken Holding", 16, 1, 1, Date(1988, 4, 5)},
      {10301, "UNA", "Unilever Holding", 16, 1, 1, Date(1980, 1, 2)},
      {10402, "KBC", "KBC Groep Holding", 16, 2, 1, Date(1998, 7, 1)},
      {10500, "AEX", "AEX Index", 0, 1, 1, Date(1983, 1, 3)},
      {10510, "BEL20", "Bel 20 Index", 60, 2, 1, Date(1990, 1, 2)},
      {10600, "DAI", "Daimler Holding", 16, 3, 1, Date(1998, 11, 17)},
      {10700, "BRK", "Berkshire Hathaway Holding", 16, 4, 2, Date()},
      {10710, "HOLX", "Hologic", 16, 4, 2, Date(1990, 3, 1)},
  };
  for (const auto& r : rows) {
    SinInstrument i;
    i.sincode = r.sincode;
    i.symbol = r.symbol;
    i.name = r.name;
    i.security_type = static_cast<std::uint8_t>(r.type);
    i.exchange = static_cast<std::int16_t>(r.exchange);
    i.currency = static_cast<std::int16_t>(r.currency);
    i.start_date = r.start;
    table.addInstrument(i);
  }
  table.save();
}

Formats& ShotFormats() {
  static Formats formats;
  formats.clear();
  MergeFormatTable(formats);
  return formats;
}

void SearchFor(ui::SearchDialog& dialog, const char* name) {
  dialog.findChild<QLineEdit*>("id387")->setText(name);
  dialog.findChild<QRadioButton*>("id404")->setChecked(true);
  dialog.findChild<QPushButton*>("search")->click();
}

const Shot kSearch("korv_search", [](Scene& scene) {
  LastSearch() = {};
  WriteSymbolTable(scene.directory());
  auto* dialog = new ui::SearchDialog("", nullptr);
  SearchFor(*dialog, "hold");
  auto* list = dialog->findChild<QTreeView*>("id347");
  list->setCurrentIndex(list->model()->index(2, 0));
  LastSearch() = {};
  return scene.keep(dialog);
});

const Shot kSearchPick("korv_search-pick", [](Scene& scene) {
  LastSearch() = {};
  WriteSymbolTable(scene.directory());
  Format* format = ShotFormats().findById(kFormatIdMetastock);
  format->addDirectory(std::make_unique<Directory>(scene.directory(), format->formatId()));
  Directory* directory = format->directoryByName(scene.directory());
  auto* dialog = new ui::SearchDialog("", *format, *directory, 0, nullptr);
  dialog->findChild<QComboBox*>("id388")->setCurrentText("Euronext Amsterdam");
  SearchFor(*dialog, "hold");
  auto* list = dialog->findChild<QTreeView*>("id347");
  for (int row : {0, 2, 3})
    list->selectionModel()->select(list->model()->index(row, 0),
                                   QItemSelectionModel::Select | QItemSelectionModel::Rows);
  LastSearch() = {};
  return scene.keep(dialog);
});

const Shot kAddConfirm("korv_add_confirm", [](Scene& scene) {
  return scene.keep(new ui::AddConfirmDialog(3, false, 0, nullptr));
});

const Shot kAddConfirmIntraday("korv_add_confirm-intraday", [](Scene& scene) {
  return scene.keep(new ui::AddConfirmDialog(12, true, 5, nullptr));
});

const Shot kAbout("korv_about", [](Scene& scene) { return scene.keep(new ui::AboutDialog(nullptr)); });

}  // namespace
}  // namespace kvqt::screenshots

namespace kvqt::screenshots {
namespace {

// The main window as the running program shows it, every command enabled, so
// the tool bar pictures are seen in their colours.
const Shot kMainEnabled("korv_main-enabled", [](Scene& scene) {
  auto* window = new ui::MainWindow;
  for (const ui::Command& c : ui::kCommands) window->setCommandHandler(c.id, [] {});
  return scene.keep(window);
});

}  // namespace
}  // namespace kvqt::screenshots
