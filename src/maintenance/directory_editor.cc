#include "maintenance/directory_editor.h"

#include "app/core/messages.h"
#include "maintenance/add_directory.h"

namespace kvqt {

std::vector<Format*> DirectoryFormats(const Formats& formats) {
  std::vector<Format*> result;
  for (int i = 0; i < formats.count(); ++i) {
    if (formats.at(i)->hasDirectories()) result.push_back(formats.at(i));
  }
  return result;
}

bool AddEditorDirectory(const std::string& path, const Formats& formats, Format& format) {
  AddedDirectory added = AddDirectoryToFormat(path, formats, format, [] { return question(kConvertQuestion); });
  if (added.directory) return true;
  if (!added.declined) message(added.message);
  return false;
}

bool RemoveEditorDirectory(Format& format, int index) {
  const Directory* directory = format.directoryAt(index);
  if (index < 0 || !directory) {
    message(kNoDirectorySelectedMessage);
    return false;
  }
  const std::string_view ask(kRemoveDirectoryQuestion);
  const std::size_t at = ask.find("%s");
  if (!question(std::string(ask.substr(0, at)) + directory->name() + std::string(ask.substr(at + 2)))) return false;
  return format.removeDirectory(index) == 0;
}

}  // namespace kvqt
