// The ring-buffer storage kind (format ids 0, Technical Investor, and 8,
// TopVest): one fixed-size file per instrument holding the newest `ring size`
// records, indexed by master.dat. Record i of the series lives at slot
// (ring start + i) mod ring size; once the ring is full each new record
// overwrites the oldest.
//
// Technical Investor names its files with the file type's low byte in decimal
// (".dS10"), TopVest in hexadecimal (".dSA"). Both formats share master.dat,
// so a file is looked for under the name of the format at hand first and the
// other name second; the two differ only for a low byte of 10.
//
// Nothing read from master.dat is trusted: a ring whose count or start does
// not fit its ring size, or whose slots in use lie beyond the end of its file,
// is reported ("Datafile corrupt:") when opened, and is neither read nor
// written.
#pragma once

#include <string>

#include "formats/storage_driver.h"

namespace kvqt {

class RingBufferDriver : public StorageDriver {
 public:
  int openDatafile(DatafileEntry& entry, DatafileHandle& handle, int formatId, OpenMode mode,
                   const std::string& directory, unsigned permissions) override;
  int positionAtRecord(DatafileEntry& entry, DatafileHandle& handle, int formatId, std::int32_t n) override;
  int readRecord(DatafileEntry& entry, DatafileHandle& handle, PriceRecord& record, int formatId,
                 const Format* format) override;
  std::string datafilePath(const DatafileEntry& entry, int formatId, const std::string& directory) override;
  int writeRecord(DatafileEntry& entry, DatafileHandle& handle, const PriceRecord& record, int formatId,
                  const Format* format) override;

  int openMaster(MasterHandles& masters, int formatId, const std::string& directory) override;
  int checkMaster(int formatId, const std::string& directory) override;
  int scanEntries(MasterHandles& masters, int formatId, DatafileEntry& entry, const std::string& symbol, int flags,
                  const std::string& directory) override;
  int addEntry(DatafileEntry& entry, int formatId, const std::string& directory) override;
  int finalize(DatafileEntry& entry, DatafileHandle& handle, int formatId, const std::string& directory) override;
  int finalizeIn(MasterHandles& masters, DatafileEntry& entry, DatafileHandle& handle, int formatId,
                 const std::string& directory) override;
};

RingBufferDriver& RingBufferDriverInstance();

// The path of an entry's ring file: the existing file under this format's
// name, else under the other format's name, else (for a new file) this
// format's name. Empty for an id that is not a ring format.
std::string RingFilePath(const DatafileEntry& entry, int formatId, const std::string& directory);

}  // namespace kvqt
