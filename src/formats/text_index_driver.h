// The text kind with an index (format ids 5, 9, 10, 11, 13, 14, 15 and 21):
// one "<symbol>.prn" of price lines per instrument, listed in master.kvq.
#pragma once

#include "formats/text_data_driver.h"

namespace kvqt {

class TextIndexDriver : public TextDataDriver {
 public:
  int openMaster(MasterHandles& masters, int formatId, const std::string& directory) override;
  // Converts a legacy "master.bin" when master.kvq is missing.
  int checkMaster(int formatId, const std::string& directory) override;
  int scanEntries(MasterHandles& masters, int formatId, DatafileEntry& entry, const std::string& symbol, int flags,
                  const std::string& directory) override;
  // A new record at the end, or the existing record of the symbol, whose
  // dates and count the entry then takes. master.kvq is created only when
  // the directory has none.
  int addEntry(DatafileEntry& entry, int formatId, const std::string& directory) override;
  int finalize(DatafileEntry& entry, DatafileHandle& handle, int formatId, const std::string& directory) override;
  // Refused with "Symbol already used" when the new symbol already has a
  // record or a data file.
  int renameEntry(const std::string& oldSymbol, const std::string& newSymbol, const std::string& newName,
                  int formatId, const std::string& directory) override;
  int deleteEntry(const std::string& symbol, DatafileEntry& entry, int formatId,
                  const std::string& directory) override;
};

}  // namespace kvqt
