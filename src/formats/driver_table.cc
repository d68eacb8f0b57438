#include "formats/driver_table.h"

namespace kvqt {
namespace {

using K = StorageKind;
using M = MasterKind;
using A = AddKind;
using R = RenameKind;

// Indexed by format id 0..22. Ids 1, 3, 7, 13 and 14 have no built-in format
// but behave like the formats of their kind when a data file names them.
constexpr StorageKind kStorageKinds[kMaxFormatId + 1] = {
    K::kRingBuffer,       // 0 Technical Investor
    K::kBinaryPerSymbol,  // 1 legacy
    K::kNone,             // 2
    K::kMetaStock,        // 3 legacy MetaStock
    K::kMetaStock,        // 4 MetaStock
    K::kTextIndex,        // 5 ASCII comma delimited
    K::kBinaryPerSymbol,  // 6 Koersbase II
    K::kBinaryPerSymbol,  // 7 legacy
    K::kRingBuffer,       // 8 TopVest
    K::kTextIndex,        // 9 ASCII tab delimited
    K::kTextIndex,        // 10 Excel style, day-month-year
    K::kTextIndex,        // 11 Excel style, slashes
    K::kNone,             // 12
    K::kTextIndex,        // 13 legacy ASCII
    K::kTextIndex,        // 14 legacy ASCII
    K::kTextIndex,        // 15 ASCII YYYYMMDD
    K::kOrvista,          // 16 Orvista 2000
    K::kTextPlain,        // 17 Hermes
    K::kNone,             // 18 export writer only
    K::kNone,             // 19 export writer only
    K::kMetaStock,        // 20 MetaStock intraday
    K::kTextIndex,        // 21 ASCII intraday
    K::kBinaryPerSymbol,  // 22 Hermes intraday
};

constexpr MasterKind kMasterKinds[kMaxFormatId + 1] = {
    M::kMasterDat,   M::kNoMaster,    M::kUnsupported, M::kMetaStock,   M::kMetaStock,   M::kAsciiIndex,
    M::kNoMaster,    M::kNoMaster,    M::kMasterDat,   M::kAsciiIndex,  M::kAsciiIndex,  M::kAsciiIndex,
    M::kUnsupported, M::kAsciiIndex,  M::kAsciiIndex,  M::kAsciiIndex,  M::kNoMaster,    M::kNoMaster,
    M::kUnsupported, M::kUnsupported, M::kMetaStock,   M::kAsciiIndex,  M::kNoMaster,
};

constexpr AddKind kAddKinds[kMaxFormatId + 1] = {
    A::kDriver,       A::kNameIsSymbol, A::kUnsupported,  A::kDriver,       A::kDriver,       A::kDriver,
    A::kNameIsSymbol, A::kNameIsSymbol, A::kDriver,       A::kDriver,       A::kDriver,       A::kDriver,
    A::kUnsupported,  A::kDriver,       A::kDriver,       A::kDriver,       A::kDriver,       A::kNameIsSymbol,
    A::kUnsupported,  A::kUnsupported,  A::kDriver,       A::kDriver,       A::kNameIsSymbol,
};

constexpr RenameKind kRenameKinds[kMaxFormatId + 1] = {
    R::kNotPossible,   R::kNotPossible, R::kUnsupported, R::kDriver,        R::kDriver,      R::kDriver,
    R::kFilePerSymbol, R::kNotPossible, R::kNotPossible, R::kDriver,        R::kDriver,      R::kDriver,
    R::kUnsupported,   R::kDriver,      R::kDriver,      R::kDriver,        R::kNotPossible, R::kFilePerSymbol,
    R::kUnsupported,   R::kUnsupported, R::kDriver,      R::kDriver,        R::kFilePerSymbol,
};

}  // namespace

bool IsValidFormatId(int formatId) { return formatId >= 0 && formatId <= kMaxFormatId; }

StorageKind StorageKindOf(int formatId) {
  return IsValidFormatId(formatId) ? kStorageKinds[formatId] : StorageKind::kNone;
}

MasterKind MasterKindOf(int formatId) {
  return IsValidFormatId(formatId) ? kMasterKinds[formatId] : MasterKind::kUnsupported;
}

AddKind AddKindOf(int formatId) { return IsValidFormatId(formatId) ? kAddKinds[formatId] : AddKind::kUnsupported; }

RenameKind RenameKindOf(int formatId) {
  return IsValidFormatId(formatId) ? kRenameKinds[formatId] : RenameKind::kUnsupported;
}

bool IsIntradayFormatId(int formatId) { return formatId == 20 || formatId == 21 || formatId == 22; }

}  // namespace kvqt
