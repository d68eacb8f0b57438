#include "maintenance/list_editor.h"

#include <memory>

#include "app/core/messages.h"
#include "app/model/format_ids.h"
#include "maintenance/add_directory.h"
#include "maintenance/directory_editor.h"
#include "platform/path.h"

namespace kvqt {
namespace {

// The question with `name` put in for its "%s".
std::string Ask(std::string_view text, const std::string& name) {
  const std::size_t at = text.find("%s");
  return std::string(text.substr(0, at)) + name + std::string(text.substr(at + 2));
}

bool JoinList(const std::string& path, const Formats& formats, Format& format, List& list) {
  AddedDirectory added =
      AddDirectoryToList(path, formats, format, list, [] { return question(kConvertQuestion); });
  if (added.directory) return true;
  if (!added.declined) message(added.message);
  return false;
}

// The master opens but lists nothing yet (-2) is an empty directory, not a fault.
constexpr int kMasterUnreadable = -1;

}  // namespace

bool AddEditorList(const std::string& name, const Formats& formats, Format& format) {
  if (name.empty() || name.size() > kLongestListName) return false;
  if (!format.listByName(name)) {
    format.addList(std::make_unique<List>(name, format.formatId()));
    // Koersbase II and Hermes name a list after the directory it stands for.
    const int id = format.formatId();
    if ((id == kFormatIdKoersbase || id == kFormatIdHermes) && platform::IsAbsolutePath(name) &&
        platform::DirectoryExists(name)) {
      JoinList(platform::EnsureTrailingSeparator(name), formats, format, *format.listByName(name));
    }
  }
  format.setCurrentList(name);
  return true;
}

bool RemoveEditorList(Format& format, int index) {
  const List* list = format.listAt(index);
  if (!list) {
    message(kNoListSelectedMessage);
    return false;
  }
  if (!question(Ask(kDeleteListQuestion, list->name()))) return false;
  return format.removeList(index) == 0;
}

bool ListChosen(const List* list) {
  if (list) return true;
  message(kSelectListFirstMessage);
  return false;
}

bool AddEditorListDirectory(const std::string& path, const Formats& formats, Format& format, List& list) {
  return JoinList(path, formats, format, list);
}

bool RemoveEditorListDirectory(List& list, int index) {
  const Directory* directory = list.directoryAt(index);
  if (!directory) {
    message(kNoDirectorySelectedMessage);
    return false;
  }
  if (!question(Ask(kRemoveListDirectoryQuestion, directory->name()))) return false;
  return list.removeDirectory(index) == 0;
}

bool RefreshListDirectory(Directory& directory) {
  if (directory.refresh() != kMasterUnreadable) return true;
  message2(kNoMasterMessage, directory.name());
  return false;
}

}  // namespace kvqt
