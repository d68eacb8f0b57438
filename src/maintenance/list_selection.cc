#include "maintenance/list_selection.h"

#include <cstdio>

#include "app/model/directory.h"

namespace kvqt {
namespace {

void Toggle(Directory& directory, int row) {
  if (directory.selectionMode() != Directory::kSelectStored) return;
  if (Datafile* entry = directory.at(row)) entry->toggleSelected();
}

}  // namespace

const char* SelectedText(bool selected) { return selected ? "Yes" : "no"; }

std::string SelectionCounterText(const Directory& directory) {
  int selected = 0;
  for (int i = 0; i < directory.size(); ++i) selected += directory.at(i)->selected() ? 1 : 0;
  char text[80];
  std::snprintf(text, sizeof text, kSelectionCounterFormat, selected, directory.size());
  return text;
}

void SetSelectionMode(Directory& directory, int mode) {
  if (mode == Directory::kSelectNone || mode == Directory::kSelectAll) {
    directory.refresh();
    for (int i = 0; i < directory.size(); ++i) directory.at(i)->setSelected(mode == Directory::kSelectAll);
  }
  directory.setSelectionMode(mode);
}

void ClickSelectionRow(Directory& directory, int row) { Toggle(directory, row); }

int PressSelectionKey(Directory& directory, int row, SelectionKey key) {
  const int last = directory.size() - 1;
  if (last < 0) return -1;
  switch (key) {
    case SelectionKey::kSpace:
      Toggle(directory, row);
      return row;
    case SelectionKey::kUp:
      if (row == 0) return row;
      row = row < 0 ? 0 : row - 1;
      Toggle(directory, row);
      return row;
    case SelectionKey::kDown:
      if (row >= last) return row;
      Toggle(directory, row + 1);
      return row + 1;
  }
  return row;
}

}  // namespace kvqt
