#include "maintenance/download_selection.h"

#include "app/model/format.h"

namespace kvqt {

const char* SelectFromFormat(Format* format, SelectionKind kind, const std::function<Datafile*(Directory&)>& pick,
                             DownloadSelection& selection) {
  if (kind == SelectionKind::kList) {
    selection.list = format ? format->currentList() : nullptr;
    return selection.list == nullptr ? kNoListSelectedText : nullptr;
  }
  selection.directory = format ? format->currentDirectory() : nullptr;
  if (selection.directory == nullptr) return kNoDirectorySelectedText;
  if (kind == SelectionKind::kDirectory) return nullptr;
  selection.datafile = pick(*selection.directory);
  return selection.datafile == nullptr ? kNoSymbolSelectedText : nullptr;
}

}  // namespace kvqt
