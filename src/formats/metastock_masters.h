// Opening, checking and walking the MetaStock master files. Every count and
// offset read from them is checked against the file sizes before it is used:
// a MASTER, EMASTER or XMASTER that is shorter than its header or whose entry
// count points past its end is reported ("Masterfile corrupt:") and refused,
// and so never written to.
#pragma once

#include <cstdint>
#include <type_traits>
#include <string>

#include "formats/datafile_entry.h"
#include "formats/master_handles.h"

namespace kvqt::metastock {

struct MasterPaths {
  std::string master;  // empty when the file does not exist
  std::string emaster;
  std::string xmaster;
};
MasterPaths FindMasters(const std::string& directory);

// 0; -2 when there is no MASTER (nothing reported); -1 when a master cannot be
// opened or fails its checks (reported). With `forWriting` every file must open
// read-write; otherwise read-only is taken when read-write is refused.
// `files` limits which of EMASTER and XMASTER are opened (MASTER always is).
inline constexpr unsigned kWithEmaster = 1;
inline constexpr unsigned kWithXmaster = 2;
int OpenMasters(MasterHandles& masters, const std::string& directory, bool forWriting,
                unsigned files = kWithEmaster | kWithXmaster);
void CloseMasters(MasterHandles& masters);

// Whether an entry fits the format id's scan: ids 3 and 4 take periods D, W
// and M with 5-7 fields; id 20 period I, 6-8 fields and an interval of 1-60.
bool FitsFormat(int formatId, char period, int fields, int interval);

// Where an entry's record lives.
struct RecordPlace {
  bool inXmaster = false;
  int index = 0;  // 1-based record number in its file
};
inline std::int64_t MasterOffset(int index) { return static_cast<std::int64_t>(index) * 53; }
inline std::int64_t EmasterOffset(int index) { return static_cast<std::int64_t>(index) * 192; }
inline std::int64_t XmasterOffset(int index) { return static_cast<std::int64_t>(index) * 150; }

// Walks records from linear position `from` (MASTER records first, then
// XMASTER records) up to `to`, calling `visit(place, record)` for each raw
// record until it returns true. Returns the position after the accepted record,
// or -1 when none was accepted or a read failed.
// A reference to the caller's visitor, without the copy and allocation of a
// std::function: a scan walks once per entry. It must not outlive the
// visitor (a lambda passed to WalkRecords lives as long as the call).
class RecordVisitor {
 public:
  template <typename F, typename = std::enable_if_t<!std::is_same_v<std::decay_t<F>, RecordVisitor>>>
  RecordVisitor(F&& visit)  // NOLINT: converts implicitly, as a std::function would
      : object_(const_cast<void*>(static_cast<const void*>(&visit))),
        call_([](void* object, const RecordPlace& place, const unsigned char* record) {
          return static_cast<bool>((*static_cast<std::remove_reference_t<F>*>(object))(place, record));
        }) {}
  bool operator()(const RecordPlace& place, const unsigned char* record) const { return call_(object_, place, record); }

 private:
  void* object_;
  bool (*call_)(void*, const RecordPlace&, const unsigned char*);
};
std::int64_t WalkRecords(MasterHandles& masters, std::int64_t from, std::int64_t to, const RecordVisitor& visit);
inline std::int64_t RecordTotal(const MasterHandles& m) { return m.masterCount + (m.xmasterOpen ? m.xmasterCount : 0); }

// The entry built from its records (EMASTER read when there is one); `record`
// is the MASTER or XMASTER record when the caller has it already.
int ReadEntry(MasterHandles& masters, const RecordPlace& place, DatafileEntry& entry,
              const unsigned char* record = nullptr);

// The record of an entry for writing back: at its saved offset when that
// record still holds the entry's file number, else found by file number.
// `record` (150 bytes) receives the MASTER or XMASTER record.
bool LocateEntry(MasterHandles& masters, const DatafileEntry& entry, RecordPlace& place, unsigned char* record);

}  // namespace kvqt::metastock
