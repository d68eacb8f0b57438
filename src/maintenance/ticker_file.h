// Reading ticker/names files: text lines of at most 120 characters, ended by
// CR LF or LF, and the fields of each of their four kinds of line. Line ends
// never become part of a symbol or a name.
#pragma once

#include <cstddef>
#include <cstdio>
#include <string>
#include <string_view>

namespace kvqt {

inline constexpr std::size_t kTickerLineLength = 120;

class TickerFileReader {
 public:
  // Does not take the file over.
  explicit TickerFileReader(std::FILE* file) : file_(file) {}
  // The next line without its line end; false at the end of the file. A
  // longer line is cut at 120 characters and the rest of it skipped, so that
  // the rest never reads as a line of its own; a NUL ends the line's text.
  bool next(std::string& line);

 private:
  std::FILE* file_;
};

// "symbol,name": the first and the second ','-field, both not empty; false
// for a line with fewer fields.
bool CutNameLine(std::string_view line, std::string_view& symbol, std::string_view& name);
// The first ','-field (empty when the line starts with ',').
std::string_view CutSymbolField(std::string_view line);
// "symbol|name|date": symbol and name not empty, the date optional (empty when
// missing); false for a line with fewer fields. Blanks around the date are
// dropped.
bool CutMasterLine(std::string_view line, std::string_view& symbol, std::string_view& name,
                   std::string_view& date);
// The first field cut at ',', blank, tab or '|' (separators before it are
// skipped), without trailing blanks and control characters; empty when the
// line holds no symbol.
std::string_view CutSymbolLine(std::string_view line);

}  // namespace kvqt
