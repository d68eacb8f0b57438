// The data-file side shared by the text kinds (ids 5, 9, 10, 11, 13, 14, 15,
// 21 with master.kvq, and 17 without an index): one price line per record
// through the line codec, in a stdio stream with a large buffer.
#pragma once

#include <cstdio>
#include <string>

#include "formats/storage_driver.h"

namespace kvqt {

class TextDataDriver : public StorageDriver {
 public:
  // Create: a new, empty file. Append: at the end, created when missing.
  // Update modes: an existing file, at its end (update-at-end then steps
  // back through positionAtRecord). Read: at the first line.
  int openDatafile(DatafileEntry& entry, DatafileHandle& handle, int formatId, OpenMode mode,
                   const std::string& directory, unsigned permissions) override;
  // Reads n lines from the start. A stream opened for rewriting is cut there,
  // so the lines written next replace the rest instead of leaving pieces of
  // longer old lines behind.
  int positionAtRecord(DatafileEntry& entry, DatafileHandle& handle, int formatId, std::int32_t n) override;
  int readRecord(DatafileEntry& entry, DatafileHandle& handle, PriceRecord& record, int formatId,
                 const Format* format) override;
  int writeRecord(DatafileEntry& entry, DatafileHandle& handle, const PriceRecord& record, int formatId,
                  const Format* format) override;
};

// Lines in the file behind an open stream (a last line without a line end
// counts), including what is still in the stream's buffer.
std::int32_t CountStreamLines(std::FILE* file);

}  // namespace kvqt
