// The list editor's selection modes and toggles.
#include "maintenance/list_selection.h"

#include <gtest/gtest.h>

#include <memory>

#include "app/model/directory.h"

namespace kvqt {
namespace {

// A directory of `count` entries in `mode`, the entries' flags as given ('1' selected).
std::unique_ptr<Directory> Entries(int mode, const std::string& flags) {
  auto directory = std::make_unique<Directory>("/data/", 5);
  for (std::size_t i = 0; i < flags.size(); ++i) {
    const std::string symbol(1, static_cast<char>('A' + i));
    directory->add(std::make_unique<Datafile>(symbol, symbol + " Corp", 5, 30))->setSelected(flags[i] == '1');
  }
  directory->setSelectionMode(mode);
  return directory;
}

std::string Flags(const Directory& directory) {
  std::string flags;
  for (int i = 0; i < directory.size(); ++i) flags += directory.at(i)->selected() ? '1' : '0';
  return flags;
}

TEST(ListSelectionTest, KeysToggleTheRowTheSelectionMovesToInModeSelectionOnly) {
  constexpr int kSelection = Directory::kSelectStored;
  struct Case {
    const char* what;
    int mode;
    std::string before;
    int row;
    SelectionKey key;
    int rowAfter;
    std::string after;
  } cases[] = {
      {"down on the first row toggles the second", kSelection, "000", 0, SelectionKey::kDown, 1, "010"},
      {"down again toggles the third back", kSelection, "011", 1, SelectionKey::kDown, 2, "010"},
      {"down on the last row stays", kSelection, "000", 2, SelectionKey::kDown, 2, "000"},
      {"down without a selection takes the first", kSelection, "000", -1, SelectionKey::kDown, 0, "100"},
      {"up toggles the row above", kSelection, "000", 2, SelectionKey::kUp, 1, "010"},
      {"up on the first row stays", kSelection, "100", 0, SelectionKey::kUp, 0, "100"},
      {"space toggles the selected row", kSelection, "010", 1, SelectionKey::kSpace, 1, "000"},
      {"space without a selection does nothing", kSelection, "010", -1, SelectionKey::kSpace, -1, "010"},
      {"mode All: keys only move", Directory::kSelectAll, "111", 0, SelectionKey::kDown, 1, "111"},
      {"mode None: space does nothing", Directory::kSelectNone, "000", 1, SelectionKey::kSpace, 1, "000"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    auto directory = Entries(c.mode, c.before);
    EXPECT_EQ(c.rowAfter, PressSelectionKey(*directory, c.row, c.key));
    EXPECT_EQ(c.after, Flags(*directory));
  }
  auto empty = Entries(kSelection, "");
  EXPECT_EQ(-1, PressSelectionKey(*empty, -1, SelectionKey::kDown));
}

TEST(ListSelectionTest, AClickTogglesInModeSelectionOnly) {
  auto selection = Entries(Directory::kSelectStored, "000");
  ClickSelectionRow(*selection, 2);
  EXPECT_EQ("001", Flags(*selection));
  ClickSelectionRow(*selection, 2);
  ClickSelectionRow(*selection, 7);  // no such row
  EXPECT_EQ("000", Flags(*selection));
  auto all = Entries(Directory::kSelectAll, "111");
  ClickSelectionRow(*all, 0);
  EXPECT_EQ("111", Flags(*all));
}

TEST(ListSelectionTest, ModesSetTheFlagsAndTheCounterCountsThem) {
  struct Case {
    int mode;
    std::string before;
    std::string after;
    std::string counter;
  } cases[] = {
      {Directory::kSelectNone, "101", "000", "Instruments (0/3 selected)"},
      {Directory::kSelectAll, "100", "111", "Instruments (3/3 selected)"},
      // Selection keeps each entry's own flag.
      {Directory::kSelectStored, "101", "101", "Instruments (2/3 selected)"},
  };
  for (const Case& c : cases) {
    auto directory = Entries(Directory::kSelectStored, c.before);
    SetSelectionMode(*directory, c.mode);
    EXPECT_EQ(c.mode, directory->selectionMode());
    EXPECT_EQ(c.after, Flags(*directory));
    EXPECT_EQ(c.counter, SelectionCounterText(*directory));
  }
  EXPECT_STREQ("Yes", SelectedText(true));
  EXPECT_STREQ("no", SelectedText(false));
}

}  // namespace
}  // namespace kvqt
