// An open data file: a binary handle or a text stream, whichever the storage
// kind of its format uses.
#pragma once

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
    if (text) {
      ok = std::fclose(text) == 0 && ok;
      text = nullptr;
    }
    return ok;
  }

  BinaryFile binary;
  std::FILE* text = nullptr;
};

}  // namespace kvqt
