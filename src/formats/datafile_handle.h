// An open data file: a binary handle or a text stream, whichever the storage
// kind of its format uses.
#pragma once

#include <cstdint>
#include <cstdio>

#include "formats/binary_file.h"

namespace kvqt {

enum class OpenMode {
  kCreate,       // a new, empty data file
  kAppend,       // positioned after the last record; created when missing
  kUpdate,       // positioned after the last record
  kUpdateAtEnd,  // positioned on the last record, so that it is rewritten
  kRead,         // positioned on the first record
};

class DatafileHandle {
 public:
  DatafileHandle() = default;
  ~DatafileHandle() { close(); }
  DatafileHandle(const DatafileHandle&) = delete;
  DatafileHandle& operator=(const DatafileHandle&) = delete;

  bool isOpen() const { return binary.isOpen() || text != nullptr; }
  // Closes whichever is open; false when pending bytes could not be written.
  bool close() {
    bool ok = binary.close();
    writtenHeader = -1;
    if (text) {
      ok = std::fclose(text) == 0 && ok;
      text = nullptr;
    }
    return ok;
  }

  BinaryFile binary;
  std::FILE* text = nullptr;
  // What the storage kind last wrote into the file's header through this
  // handle (MetaStock: the record limit and count), so that the same header
  // is not written twice; -1 when nothing was.
  std::int64_t writtenHeader = -1;
};

}  // namespace kvqt
