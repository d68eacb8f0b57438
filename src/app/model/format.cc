#include "app/model/format.h"

#include "app/core/messages.h"
#include "app/model/text_field.h"

namespace kvqt {

Format::Format(std::string_view symbol, std::string_view name, int formatId)
    : name_(FieldText(name, kFormatNameSize)), symbol_(FieldText(symbol, kSymbolSize)), formatId_(formatId) {}

void Format::setName(std::string_view name) { name_ = FieldText(name, kFormatNameSize); }
void Format::setSymbol(std::string_view symbol) { symbol_ = FieldText(symbol, kSymbolSize); }

void Format::setFormatId(int id) {
  formatId_ = id;
  for (auto& list : lists_) list->setFormatId(id);
  directories_.setFormatId(id);
}

void Format::setSeparators(char fsep, char dsep, char frsep) {
  fsep_ = fsep;
  dsep_ = dsep;
  frsep_ = frsep;
}

bool Format::addList(std::unique_ptr<List> list) {
  if (FindSorted(lists_, list->name(), List::Compare) >= 0) return false;
  InsertSorted(lists_, std::move(list), List::Less);
  return true;
}

List* Format::listByName(std::string_view name) const { return listAt(FindSorted(lists_, name, List::Compare)); }

void Format::setCurrentList(std::string_view name) { curLi_ = FindSorted(lists_, name, List::Compare); }

int Format::removeList(int index) {
  if (index < 0 || index >= listCount()) {
    messageInt("Illegal list id", index);
    return -1;
  }
  lists_.erase(lists_.begin() + index);
  if (curLi_ > listCount() - 1) curLi_ = listCount() - 1;
  return 0;
}

List* Format::firstList() {
  listCursor_ = 0;
  return nextList();
}

List* Format::nextList() {
  List* list = listAt(listCursor_);
  if (list) ++listCursor_;
  return list;
}

}  // namespace kvqt
