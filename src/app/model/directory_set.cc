#include "app/model/directory_set.h"

#include "app/core/messages.h"
#include "app/model/text_field.h"
#include "platform/path.h"

namespace kvqt {

std::string DirectoryKey(std::string_view path) {
  std::string key = FieldText(path, kDirectoryNameSize);
  if (!platform::EndsWithSeparator(key)) {
    if (key.size() == kDirectoryNameSize) key.pop_back();
    key += platform::kPathSeparator;
  }
  return key;
}

bool DirectorySet::add(std::unique_ptr<Directory> directory) {
  if (FindSorted(items_, directory->name(), Directory::Compare) >= 0) return false;
  InsertSorted(items_, std::move(directory), Directory::Less);
  return true;
}

int DirectorySet::indexOf(std::string_view path) const {
  return FindSorted(items_, DirectoryKey(path), Directory::Compare);
}

Directory* DirectorySet::byName(std::string_view path) const { return at(indexOf(path)); }

int DirectorySet::remove(int index) {
  if (index < 0 || index >= size()) {
    messageInt("Illegal directory id", index);
    return -1;
  }
  items_.erase(items_.begin() + index);
  if (current_ > size() - 1) current_ = size() - 1;
  return 0;
}

Directory* DirectorySet::first() {
  cursor_ = 0;
  return next();
}

Directory* DirectorySet::next() {
  Directory* directory = at(cursor_);
  if (directory) ++cursor_;
  return directory;
}

void DirectorySet::setFormatId(int id) {
  for (auto& directory : items_) directory->setFormatId(id);
}

}  // namespace kvqt
