#include "maintenance/file_manager_list.h"

#include <algorithm>
#include <cstdio>

#include "app/model/directory.h"

namespace kvqt {
namespace {

// Text columns of Datafile::text.
constexpr int kTextFirstDate = 4;
constexpr int kTextLastDate = 6;
constexpr int kTextLastDateTime = 7;

int CompareDateTime(Date a, Time aTime, Date b, Time bTime) {
  if (a != b) return a < b ? -1 : 1;
  if (aTime.value() != bTime.value()) return aTime.value() < bTime.value() ? -1 : 1;
  return 0;
}

}  // namespace

const char* FileManagerHeader(int column) {
  static const char* const kHeaders[kFileManagerColumns] = {"name", "symbol", "from", "to"};
  return column >= 0 && column < kFileManagerColumns ? kHeaders[column] : "";
}

bool FileManagerRowLess(const Datafile& a, const Datafile& b, int column) {
  switch (column) {
    case kColumnSymbol:
      return a.symbol().compare(b.symbol()) < 0;
    case kColumnFrom:
      return CompareDateTime(a.firstDate(), a.firstTime(), b.firstDate(), b.firstTime()) < 0;
    case kColumnTo:
      return CompareDateTime(a.lastDate(), a.lastTime(), b.lastDate(), b.lastTime()) < 0;
    default:
      return a.name().compare(b.name()) < 0;
  }
}

std::string FileManagerCellText(const Datafile& datafile, int column, bool intraday) {
  switch (column) {
    case kColumnName:
      return datafile.name();
    case kColumnSymbol: {
      char text[16];
      std::snprintf(text, sizeof text, "%-8.8s", datafile.symbol().c_str());
      return text;
    }
    case kColumnFrom:
      return datafile.text(kTextFirstDate);
    case kColumnTo:
      return datafile.text(intraday ? kTextLastDateTime : kTextLastDate);
    default:
      return "";
  }
}

std::string InstrumentCounterText(int count) {
  if (count <= 0) return "no instruments";
  if (count == 1) return "1 instrument";
  return std::to_string(count) + " instruments";
}

void FileManagerRows::fill(const Directory* directory) {
  directory_ = directory;
  positions_.clear();
  const int size = directory ? directory->size() : 0;
  positions_.reserve(size);
  for (int i = 0; i < size; ++i) positions_.push_back(i);
  sort();
}

void FileManagerRows::sortBy(int column) {
  column_ = column >= 0 && column < kFileManagerColumns ? column : kColumnName;
  sort();
}

void FileManagerRows::sort() {
  if (!directory_) return;
  const Directory& directory = *directory_;
  const int column = column_;
  std::stable_sort(positions_.begin(), positions_.end(), [&directory, column](int a, int b) {
    return FileManagerRowLess(*directory.at(a), *directory.at(b), column);
  });
}

Datafile* FileManagerRows::at(int row) const {
  if (!directory_ || row < 0 || row >= count()) return nullptr;
  return directory_->at(positions_[row]);
}

int FileManagerRows::rowOfPosition(int position) const {
  const auto found = std::find(positions_.begin(), positions_.end(), position);
  return found == positions_.end() ? -1 : static_cast<int>(found - positions_.begin());
}

int FileManagerRows::rowOfSymbol(std::string_view symbol) const {
  for (int row = 0; row < count(); ++row) {
    if (at(row)->symbol() == symbol) return row;
  }
  return -1;
}

int FileManagerRows::rowOf(const Datafile* datafile) const {
  if (!directory_ || !datafile) return -1;
  const int position = directory_->indexOf(datafile);
  return position < 0 ? -1 : rowOfPosition(position);
}

}  // namespace kvqt
