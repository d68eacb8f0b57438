// Which instruments of a list's directory are downloaded: the selection modes
// None, All and Selection, and in mode Selection the toggles by click, space
// and the up and down keys.
#pragma once

#include <string>

namespace kvqt {

class Directory;

inline constexpr const char* kSelectionCounterFormat = "Instruments (%d/%d selected)";

// The "selected" column of a row.
const char* SelectedText(bool selected);

// "Instruments (%d/%d selected)" with the selected and total counts.
std::string SelectionCounterText(const Directory& directory);

// Sets the directory's mode; None and All also set every entry's flag, after
// the entries are brought up to date from the master.
void SetSelectionMode(Directory& directory, int mode);

// A click on `row`: in mode Selection its flag toggles.
void ClickSelectionRow(Directory& directory, int row);

enum class SelectionKey { kSpace, kUp, kDown };

// The row selected after the key on the list whose selected row is `row` (-1
// for none). In mode Selection space toggles the selected row, and up and down
// toggle the row the selection moves to; at either end nothing moves or toggles.
int PressSelectionKey(Directory& directory, int row, SelectionKey key);

}  // namespace kvqt
