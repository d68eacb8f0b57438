// A directory's open master (index) files and the scan position over them.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "formats/binary_file.h"

namespace kvqt {

class Directory;

// Where the next scan continues; the default is the first record. It lives in
// the handles, not in the open files, so a caller that closes and reopens the
// masters between lookups keeps it (the result import does).
struct ScanPosition {
  std::int64_t master = 0;
  std::int64_t extended = 0;
};

// Whatever else a storage kind keeps while its master is open.
class MasterState {
 public:
  virtual ~MasterState() = default;
};

struct MasterHandles {
  int formatId = -1;
  std::string directory;
  // Set by callers for the kinds that walk the data model instead of a file.
  Directory* directoryObject = nullptr;

  BinaryFile master;
  BinaryFile emaster;
  BinaryFile xmaster;
  bool emasterOpen = false;
  bool xmasterOpen = false;
  // MASTER header: entry count and highest file number in use.
  std::int32_t masterCount = 0;
  std::int32_t masterHighest = 0;
  // XMASTER header: entry count and highest file number in use minus 255.
  std::int32_t xmasterCount = 0;
  std::int32_t xmasterHighest = 0;

  ScanPosition scan;
  std::unique_ptr<MasterState> state;
  // Set by a successful OpenMaster, also for the kinds that have no master file.
  bool opened = false;

  void resetScan() { scan = ScanPosition{}; }
};

}  // namespace kvqt
