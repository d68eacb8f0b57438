#include "app/model/list.h"

#include "app/model/text_field.h"

namespace kvqt {

List::List(std::string_view name, int formatId) : name_(FieldText(name, kListNameSize)), formatId_(formatId) {}

void List::setFormatId(int id) {
  formatId_ = id;
  directories_.setFormatId(id);
}

void List::setCurrent(int index) {
  if (index >= 0 && index < directories_.size()) directories_.setCurrentIndex(index);
}

bool List::findName(std::string_view symbol, std::string& name) const {
  for (int i = 0; i < directories_.size(); ++i) {
    const Directory* directory = directories_.at(i);
    for (int j = 0; j < directory->size(); ++j) {
      const Datafile* entry = directory->at(j);
      if (entry->symbol() == symbol) {
        name = entry->name();
        return true;
      }
    }
  }
  return false;
}

}  // namespace kvqt
