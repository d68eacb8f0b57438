#include "maintenance/ticker_file.h"

namespace kvqt {
namespace {

// The field `index` (0-based) of `line` cut at `separator`; empty when the
// line has fewer fields.
std::string_view Field(std::string_view line, char separator, int index) {
  for (int i = 0; i < index; ++i) {
    std::size_t at = line.find(separator);
    if (at == std::string_view::npos) return {};
    line.remove_prefix(at + 1);
  }
  return line.substr(0, line.find(separator));
}

bool IsBlankOrControl(char c) {
  unsigned char u = static_cast<unsigned char>(c);
  return u <= ' ' || u == 0x7f;
}

}  // namespace

bool TickerFileReader::next(std::string& line) {
  line.clear();
  int c = std::getc(file_);
  if (c == EOF) return false;
  bool ended = false;  // a NUL was met: the rest is no text
  for (; c != EOF && c != '\n'; c = std::getc(file_)) {
    if (c == '\0') ended = true;
    if (!ended && line.size() < kTickerLineLength + 1) line.push_back(static_cast<char>(c));
  }
  // Cut first: a CR at the 120th character ends the line as cut, and the CR
  // of a CR LF pair may sit just beyond the 120 characters.
  if (line.size() > kTickerLineLength) line.resize(kTickerLineLength);
  while (!line.empty() && line.back() == '\r') line.pop_back();
  return true;
}

bool CutNameLine(std::string_view line, std::string_view& symbol, std::string_view& name) {
  symbol = Field(line, ',', 0);
  name = Field(line, ',', 1);
  return !symbol.empty() && !name.empty();
}

std::string_view CutSymbolField(std::string_view line) { return Field(line, ',', 0); }

bool CutMasterLine(std::string_view line, std::string_view& symbol, std::string_view& name,
                   std::string_view& date) {
  symbol = Field(line, '|', 0);
  name = Field(line, '|', 1);
  date = Field(line, '|', 2);
  while (!date.empty() && (date.front() == ' ' || date.front() == '\t')) date.remove_prefix(1);
  while (!date.empty() && (date.back() == ' ' || date.back() == '\t')) date.remove_suffix(1);
  return !symbol.empty() && !name.empty();
}

std::string_view CutSymbolLine(std::string_view line) {
  constexpr std::string_view kSeparators = ", \t|";
  std::size_t start = line.find_first_not_of(kSeparators);
  if (start == std::string_view::npos) return {};
  line.remove_prefix(start);
  line = line.substr(0, line.find_first_of(kSeparators));
  while (!line.empty() && IsBlankOrControl(line.back())) line.remove_suffix(1);
  return line;
}

}  // namespace kvqt
