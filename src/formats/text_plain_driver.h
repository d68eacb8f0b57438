// The text kind without an index (format id 17): one "<symbol>.asc" of price
// lines per instrument; the directory's files are its entries. Names are not
// kept (the symbol stands for the name) and a scan leaves the record count
// unknown (-1), as counting reads the whole file: only a scan that asks for
// the data files' headers (kScanReadHeader) counts the lines.
#pragma once

#include "formats/text_data_driver.h"

namespace kvqt {

class TextPlainDriver : public TextDataDriver {
 public:
  int scanEntries(MasterHandles& masters, int formatId, DatafileEntry& entry, const std::string& symbol, int flags,
                  const std::string& directory) override;
  int finalize(DatafileEntry& entry, DatafileHandle& handle, int formatId, const std::string& directory) override;
};

}  // namespace kvqt
