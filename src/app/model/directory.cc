#include "app/model/directory.h"

#include <algorithm>

#include "app/core/logs.h"
#include "app/core/messages.h"
#include "app/model/text_field.h"
#include "platform/path.h"

namespace kvqt {
namespace {

int NoRefresh(Directory&) { return 0; }
void NoListFile(Directory&, const std::string&) {}

Directory::RefreshHook g_refresh = NoRefresh;
Directory::ListFileHook g_list_file = NoListFile;

}  // namespace

Directory::RefreshHook Directory::SetRefreshHook(RefreshHook hook) {
  RefreshHook previous = g_refresh;
  g_refresh = hook ? hook : NoRefresh;
  return previous;
}

Directory::ListFileHook Directory::SetListFileHook(ListFileHook hook) {
  ListFileHook previous = g_list_file;
  g_list_file = hook ? hook : NoListFile;
  return previous;
}

Directory::Directory(std::string_view path, int formatId)
    : name_(FieldText(path, kDirectoryNameSize)), formatId_(formatId) {}

int Directory::Compare(const Directory& a, std::string_view path) { return platform::CompareNoCase(a.name_, path); }

void Directory::setFormatId(int id) {
  formatId_ = id;
  for (auto& entry : entries_) entry->setFormatId(id);
}

Datafile* Directory::add(std::unique_ptr<Datafile> datafile) {
  std::size_t index = InsertSorted(entries_, std::move(datafile), Datafile::Less);
  return entries_[index].get();
}

void Directory::addAll(std::vector<std::unique_ptr<Datafile>> datafiles) {
  const std::size_t before = entries_.size();
  for (auto& datafile : datafiles) entries_.push_back(std::move(datafile));
  auto less = [](const std::unique_ptr<Datafile>& a, const std::unique_ptr<Datafile>& b) {
    return Datafile::Less(*a, *b);
  };
  // A stable sort keeps equal entries in the order they came, after the
  // equal ones already there, as sorted inserts one by one place them.
  if (!std::is_sorted(entries_.begin() + static_cast<std::ptrdiff_t>(before == 0 ? 0 : before - 1), entries_.end(), less))
    std::stable_sort(entries_.begin(), entries_.end(), less);
}

int Directory::removeAt(int index) {
  if (index < 0 || index >= size()) {
    messageInt("Illegal datafile id", index);
    return -1;
  }
  entries_.erase(entries_.begin() + index);
  if (curDataFile_ > size() - 1) curDataFile_ = size() - 1;
  return 0;
}

bool Directory::removeBySymbol(std::string_view symbol) {
  for (int i = 0; i < size(); ++i) {
    if (entries_[static_cast<std::size_t>(i)]->symbol() == symbol) return removeAt(i) == 0;
  }
  return false;
}

Datafile* Directory::find(std::string_view symbol, std::string_view name) const {
  auto pos = std::partition_point(entries_.begin(), entries_.end(), [&](const std::unique_ptr<Datafile>& e) {
    int c = e->name().compare(name);
    return c < 0 || (c == 0 && e->symbol().compare(symbol) < 0);
  });
  if (pos == entries_.end() || (*pos)->name() != name || (*pos)->symbol() != symbol) return nullptr;
  return pos->get();
}

Datafile* Directory::bySymbol(std::string_view symbol) const {
  for (const auto& entry : entries_) {
    if (entry->symbol() == symbol) return entry.get();
  }
  if (Logs::DebugMode()) {
    debugInt("GetDatafile failed for format:", formatId_);
    debug2(name_, symbol);
  }
  return nullptr;
}

int Directory::indexOf(const Datafile* datafile) const {
  for (std::size_t i = 0; i < entries_.size(); ++i) {
    if (entries_[i].get() == datafile) return static_cast<int>(i);
  }
  return -1;
}

Datafile* Directory::first() {
  debugInt(name_, size());
  cursor_ = 0;
  return next();
}

Datafile* Directory::next() {
  Datafile* entry = at(cursor_);
  if (entry) ++cursor_;
  return entry;
}

int Directory::count() {
  refresh();
  return size();
}

int Directory::refresh() { return g_refresh(*this); }

void Directory::readListFile(const std::string& path) { g_list_file(*this, path); }

}  // namespace kvqt
