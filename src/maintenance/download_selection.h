// What a download fetches quotes for, as both download dialogs choose it: the
// format's current list, its current directory, or one data file of that
// directory.
#pragma once

#include <functional>

namespace kvqt {

class Datafile;
class Directory;
class Format;
class List;

// A selection with nothing in it would run a session that downloads nothing.
inline constexpr const char* kNoListSelectedText = "No list selected";
inline constexpr const char* kNoDirectorySelectedText = "No directory selected";
inline constexpr const char* kNoSymbolSelectedText = "No symbol selected";

enum class SelectionKind { kList, kDirectory, kSymbol };

struct DownloadSelection {
  List* list = nullptr;
  Directory* directory = nullptr;
  Datafile* datafile = nullptr;
};

// Fills `selection` for the kind from the format (none: nothing selected); a
// symbol is the data file `pick` finds in the current directory. Returns the
// text saying what is missing, or nullptr.
const char* SelectFromFormat(Format* format, SelectionKind kind, const std::function<Datafile*(Directory&)>& pick,
                             DownloadSelection& selection);

}  // namespace kvqt
