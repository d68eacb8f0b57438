// The file manager's Find: the text is looked for in the name and the symbol
// of each row together, so a text that runs from the end of the name into the
// symbol is found; the same text again moves on to the next match.
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace kvqt {

class Datafile;

inline constexpr const char* kInstrumentNotFoundText = "Instrument not found";
inline constexpr const char* kFindInstrumentCaption = "Find Instrument";

// Whether "%s %s" of the name and the symbol, upper-cased, holds `upperText`.
bool InstrumentMatches(const Datafile& datafile, std::string_view upperText);

class InstrumentFind {
 public:
  // The data file shown in a row; null past the last row.
  using RowAt = std::function<const Datafile*(int row)>;

  // The text last looked for (upper-cased), which the find dialog shows.
  const std::string& lastText() const { return last_; }

  // Looks for the text from the first row, or after `selectedRow` when it is
  // the text of the previous search. The matching row, or -1.
  int find(std::string_view text, int selectedRow, const RowAt& rowAt);

 private:
  std::string last_;
  bool searched_ = false;
};

}  // namespace kvqt
