// The file manager's instrument list: one row per data file of a directory,
// each row carrying the data file's position in the directory, in the order of
// the column the user sorted by; the texts of its four columns and of the
// counter below it.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kvqt {

class Datafile;
class Directory;

inline constexpr const char* kSelectDirectoryText = "Select directory";

// The list's columns, also the sort keys.
enum FileManagerColumn { kColumnName = 0, kColumnSymbol = 1, kColumnFrom = 2, kColumnTo = 3 };
inline constexpr int kFileManagerColumns = 4;

// "name", "symbol", "from", "to".
const char* FileManagerHeader(int column);

// Whether `a` sorts before `b` by the column: names and symbols byte by byte
// (so case-sensitively), dates first by date and then by time.
bool FileManagerRowLess(const Datafile& a, const Datafile& b, int column);

// The cell text: the name, the symbol as "%-8.8s", the first date, and the last
// date (with its time for intraday formats).
std::string FileManagerCellText(const Datafile& datafile, int column, bool intraday);

// "%d instruments", "1 instrument" or "no instruments".
std::string InstrumentCounterText(int count);

class FileManagerRows {
 public:
  // One row per data file the directory holds now (null: no rows), sorted by
  // the last sort column.
  void fill(const Directory* directory);
  // Sorts by the column from now on (ascending); equal rows keep the
  // directory's order.
  void sortBy(int column);
  int sortColumn() const { return column_; }

  int count() const { return static_cast<int>(positions_.size()); }
  // The data file of a row; null outside the rows.
  Datafile* at(int row) const;
  // The row showing the data file's position, or -1.
  int rowOfPosition(int position) const;
  // The row of the first data file with that symbol, or -1.
  int rowOfSymbol(std::string_view symbol) const;
  // The row of the data file, or -1.
  int rowOf(const Datafile* datafile) const;

 private:
  void sort();

  const Directory* directory_ = nullptr;
  std::vector<int> positions_;
  int column_ = kColumnName;
};

}  // namespace kvqt
