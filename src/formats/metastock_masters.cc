#include "formats/metastock_masters.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "app/core/messages.h"
#include "formats/file_locator.h"
#include "formats/metastock_layout.h"
#include "platform/little_endian.h"

namespace kvqt::metastock {
namespace {

using platform::GetLe16;

// Records read at once while walking: one at first, since a scan step
// usually takes the first record it reads, more while none is taken.
constexpr int kFirstBlockRecords = 1;
constexpr int kMaxBlockRecords = 256;

int OpenOne(BinaryFile& file, const std::string& path, bool forWriting) {
  int rc = file.openExisting(path, true);
  if (rc != 0 && !forWriting) rc = file.openExisting(path, false);
  if (rc != 0) {
    message2("Error opening masterfile", path);
    return -1;
  }
  return 0;
}

int Corrupt(const std::string& path) {
  message2("Masterfile corrupt:", path);
  return -1;
}

// Reads records [first, first + n) of one file into `block`, through the
// file's read buffer: a scan takes one record a call, and one system call
// for each would cost more than the record.
bool ReadBlock(BinaryFile& file, std::size_t recordSize, int first, int n, std::vector<unsigned char>& block) {
  block.resize(recordSize * static_cast<std::size_t>(n));
  std::int64_t want = static_cast<std::int64_t>(block.size());
  file.seek(static_cast<std::int64_t>(first) * static_cast<std::int64_t>(recordSize));
  return file.read(block.data(), block.size()) == want;
}

// The read buffer of a walk, kept from one walk to the next (a scan walks
// once per entry); a walk started from inside a visitor gets its own.
class WalkBuffer {
 public:
  WalkBuffer() : owner_(!busy_) { busy_ = true; }
  ~WalkBuffer() {
    if (owner_) busy_ = false;
  }
  WalkBuffer(const WalkBuffer&) = delete;
  WalkBuffer& operator=(const WalkBuffer&) = delete;
  std::vector<unsigned char>& get() { return owner_ ? kept_ : own_; }

 private:
  static thread_local std::vector<unsigned char> kept_;
  static thread_local bool busy_;
  bool owner_;
  std::vector<unsigned char> own_;
};
thread_local std::vector<unsigned char> WalkBuffer::kept_;
thread_local bool WalkBuffer::busy_ = false;

}  // namespace

MasterPaths FindMasters(const std::string& directory) {
  auto found = FindExistingFiles(directory, {kMasterName, kEmasterName, kXmasterName});
  return MasterPaths{found[0], found[1], found[2]};
}

int OpenMasters(MasterHandles& m, const std::string& directory, bool forWriting, unsigned files) {
  CloseMasters(m);
  MasterPaths paths = FindMasters(directory);
  if (paths.master.empty()) return -2;
  if (!(files & kWithEmaster)) paths.emaster.clear();
  if (!(files & kWithXmaster)) paths.xmaster.clear();
  m.directory = directory;

  if (OpenOne(m.master, paths.master, forWriting) != 0) return -1;
  unsigned char header[kEmasterRecordSize];
  std::int64_t size = m.master.sizeAtOpen();
  if (size < static_cast<std::int64_t>(kMasterRecordSize) ||
      m.master.readAt(0, header, kMasterRecordSize) != static_cast<std::int64_t>(kMasterRecordSize)) {
    CloseMasters(m);
    return Corrupt(paths.master);
  }
  m.masterCount = GetLe16(header + master::kCount);
  m.masterHighest = GetLe16(header + master::kHighest);
  if (m.masterCount > kMaxMasterEntries || size < MasterOffset(m.masterCount + 1)) {
    CloseMasters(m);
    return Corrupt(paths.master);
  }

  if (!paths.emaster.empty()) {
    if (OpenOne(m.emaster, paths.emaster, forWriting) != 0) {
      CloseMasters(m);
      return -1;
    }
    m.emasterOpen = true;
    // Every MASTER record has its EMASTER record.
    if (m.emaster.sizeAtOpen() < EmasterOffset(m.masterCount + 1)) {
      CloseMasters(m);
      return Corrupt(paths.emaster);
    }
  }

  if (!paths.xmaster.empty()) {
    if (OpenOne(m.xmaster, paths.xmaster, forWriting) != 0) {
      CloseMasters(m);
      return -1;
    }
    m.xmasterOpen = true;
    std::int64_t xsize = m.xmaster.sizeAtOpen();
    if (xsize < static_cast<std::int64_t>(kXmasterRecordSize) ||
        m.xmaster.readAt(0, header, kXmasterRecordSize) != static_cast<std::int64_t>(kXmasterRecordSize)) {
      CloseMasters(m);
      return Corrupt(paths.xmaster);
    }
    m.xmasterCount = GetLe16(header + xmaster::kCount);
    m.xmasterHighest = GetLe16(header + xmaster::kHighest);
    if (xsize < XmasterOffset(m.xmasterCount + 1)) {
      CloseMasters(m);
      return Corrupt(paths.xmaster);
    }
  }
  m.opened = true;
  return 0;
}

void CloseMasters(MasterHandles& m) {
  m.master.close();
  m.emaster.close();
  m.xmaster.close();
  m.emasterOpen = m.xmasterOpen = false;
  m.masterCount = m.masterHighest = m.xmasterCount = m.xmasterHighest = 0;
  m.opened = false;
}

bool FitsFormat(int formatId, char period, int fields, int interval) {
  if (formatId == 20) return period == 'I' && fields >= 6 && fields <= 8 && interval >= 1 && interval <= 60;
  return (period == 'D' || period == 'W' || period == 'M') && fields >= 5 && fields <= 7;
}

std::int64_t WalkRecords(MasterHandles& m, std::int64_t from, std::int64_t to, const RecordVisitor& visit) {
  WalkBuffer buffer;
  std::vector<unsigned char>& block = buffer.get();
  to = std::min(to, RecordTotal(m));
  std::int64_t pos = std::max<std::int64_t>(from, 0);
  int blockRecords = kFirstBlockRecords;
  while (pos < to) {
    bool inX = pos >= m.masterCount;
    BinaryFile& file = inX ? m.xmaster : m.master;
    std::size_t size = inX ? kXmasterRecordSize : kMasterRecordSize;
    int first = static_cast<int>(inX ? pos - m.masterCount + 1 : pos + 1);
    std::int64_t end = inX ? to : std::min<std::int64_t>(to, m.masterCount);
    int n = static_cast<int>(std::min<std::int64_t>(end - pos, blockRecords));
    blockRecords = std::min(blockRecords * 4, kMaxBlockRecords);
    if (!ReadBlock(file, size, first, n, block)) return -1;
    for (int i = 0; i < n; ++i) {
      RecordPlace place{inX, first + i};
      if (visit(place, block.data() + size * static_cast<std::size_t>(i))) return pos + i + 1;
    }
    pos += n;
  }
  return -1;
}

int ReadEntry(MasterHandles& m, const RecordPlace& place, DatafileEntry& entry, const unsigned char* given) {
  entry = DatafileEntry();
  if (place.inXmaster) {
    unsigned char record[kXmasterRecordSize];
    if (given)
      std::memcpy(record, given, sizeof record);
    else if (m.xmaster.readAt(XmasterOffset(place.index), record, sizeof record) !=
             static_cast<std::int64_t>(sizeof record))
      return -1;
    ReadXmasterRecord(record, entry);
    entry.masterOffset = static_cast<std::int32_t>(MasterOffset(m.masterCount + 1));
    entry.extendedOffset = static_cast<std::int32_t>(XmasterOffset(place.index));
  } else {
    unsigned char record[kMasterRecordSize];
    if (given)
      std::memcpy(record, given, sizeof record);
    else if (m.master.readAt(MasterOffset(place.index), record, sizeof record) !=
             static_cast<std::int64_t>(sizeof record))
      return -1;
    ReadMasterRecord(record, entry);
    if (m.emasterOpen) {
      unsigned char extra[kEmasterRecordSize];
      m.emaster.seek(EmasterOffset(place.index));
      if (m.emaster.read(extra, sizeof extra) == static_cast<std::int64_t>(sizeof extra)) ReadEmasterRecord(extra, entry);
    }
    entry.masterOffset = static_cast<std::int32_t>(MasterOffset(place.index));
    entry.extendedOffset = 0;
  }
  entry.recordCount = -1;  // known once the data file's header is read
  return 0;
}

bool LocateEntry(MasterHandles& m, const DatafileEntry& entry, RecordPlace& place, unsigned char* record) {
  if (entry.fileNumber <= 0) return false;
  bool inX = entry.fileNumber >= kFirstXmasterNumber;
  if (inX && !m.xmasterOpen) return false;
  auto numberAt = [&](int index) -> int {
    if (inX) {
      if (m.xmaster.readAt(XmasterOffset(index), record, kXmasterRecordSize) != static_cast<std::int64_t>(kXmasterRecordSize))
        return -1;
      return GetLe16(record + xmaster::kFileNumber);
    }
    if (m.master.readAt(MasterOffset(index), record, kMasterRecordSize) != static_cast<std::int64_t>(kMasterRecordSize))
      return -1;
    return record[master::kFileNumber];
  };
  // The saved offset, when it still points at this entry's record.
  int count = inX ? m.xmasterCount : m.masterCount;
  std::int64_t offset = inX ? entry.extendedOffset : entry.masterOffset;
  std::int64_t recordSize = inX ? static_cast<std::int64_t>(kXmasterRecordSize) : static_cast<std::int64_t>(kMasterRecordSize);
  if (offset > 0 && offset % recordSize == 0 && offset / recordSize <= count) {
    int index = static_cast<int>(offset / recordSize);
    if (numberAt(index) == entry.fileNumber) {
      place = RecordPlace{inX, index};
      return true;
    }
  }
  // Records have moved since (a delete): find it by its file number.
  std::int64_t from = inX ? m.masterCount : 0;
  std::int64_t to = inX ? RecordTotal(m) : m.masterCount;
  bool found = false;
  WalkRecords(m, from, to, [&](const RecordPlace& p, const unsigned char* r) {
    if (p.inXmaster != inX) return false;
    int number = inX ? GetLe16(r + xmaster::kFileNumber) : r[master::kFileNumber];
    if (number != entry.fileNumber) return false;
    place = p;
    std::memcpy(record, r, inX ? kXmasterRecordSize : kMasterRecordSize);
    found = true;
    return true;
  });
  return found;
}

}  // namespace kvqt::metastock
