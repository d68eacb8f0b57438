// The tables that map a format id to the code that serves it. Every operation
// looks the id up in its table; ids outside 0..22 are in no table and every
// operation on them does nothing.
#pragma once

#include <cstdint>

namespace kvqt {

inline constexpr int kMaxFormatId = 22;

enum class StorageKind : std::uint8_t {
  kNone,             // 2, 12, 18, 19: no storage
  kRingBuffer,       // 0, 8: Technical Investor, TopVest
  kMetaStock,        // 3, 4, 20
  kTextIndex,        // 5, 9, 10, 11, 13, 14, 15, 21: text files listed in master.kvq
  kTextPlain,        // 17: text files without an index
  kBinaryPerSymbol,  // 6, 22, and the legacy 1 and 7
  kOrvista,          // 16: the Orvista 2000 import file
};
inline constexpr int kStorageKindCount = 7;

bool IsValidFormatId(int formatId);
// The storage kind of the data files (and of the master, where there is one).
StorageKind StorageKindOf(int formatId);

// Which master file an id has (OpenMaster, CheckMaster, CloseMaster).
enum class MasterKind : std::uint8_t {
  kUnsupported,  // 2, 12, 18, 19: the open fails
  kNoMaster,     // 1, 6, 7, 16, 17, 22: nothing to open; the open succeeds
  kMasterDat,    // 0, 8: master.dat
  kMetaStock,    // 3, 4, 20: MASTER, EMASTER, XMASTER
  kAsciiIndex,   // 5, 9, 10, 11, 13, 14, 15, 21: master.kvq
};
MasterKind MasterKindOf(int formatId);

// What AddEntry does beyond filling the entry.
enum class AddKind : std::uint8_t {
  kUnsupported,  // 2, 12, 18, 19
  kNameIsSymbol, // 1, 6, 7, 17, 22: no master; the name becomes the symbol, nothing is written
  kDriver,       // the kind's driver writes the master record
};
AddKind AddKindOf(int formatId);

// How RenameEntry and DeleteEntry treat an id.
enum class RenameKind : std::uint8_t {
  kUnsupported,    // 2, 12, 18, 19
  kFilePerSymbol,  // 6, 17, 22: the data file itself is renamed or deleted
  kDriver,         // the ASCII index and MetaStock kinds
  kNotPossible,    // 0, 1, 7, 8, 16: rename refused, delete does nothing
};
RenameKind RenameKindOf(int formatId);

// Intraday formats keep first and last times (20, 21, 22).
bool IsIntradayFormatId(int formatId);

}  // namespace kvqt
