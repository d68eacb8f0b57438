#include "maintenance/instrument_find.h"

#include "app/model/datafile.h"
#include "app/runner/program_args.h"

namespace kvqt {

bool InstrumentMatches(const Datafile& datafile, std::string_view upperText) {
  return UpperCase(datafile.name() + " " + datafile.symbol()).find(upperText) != std::string::npos;
}

int InstrumentFind::find(std::string_view text, int selectedRow, const RowAt& rowAt) {
  const std::string upper = UpperCase(text);
  const bool again = searched_ && upper == last_;
  last_ = upper;
  searched_ = true;
  int row = again && selectedRow >= 0 ? selectedRow + 1 : 0;
  for (const Datafile* datafile = rowAt(row); datafile; datafile = rowAt(++row)) {
    if (InstrumentMatches(*datafile, upper)) return row;
  }
  return -1;
}

}  // namespace kvqt
