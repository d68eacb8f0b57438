#include "formats/driver_table.h"

#include <gtest/gtest.h>

namespace kvqt {
namespace {

TEST(DriverTableTest, EveryIdHasItsStorageKind) {
  using K = StorageKind;
  const K expected[] = {K::kRingBuffer,      K::kBinaryPerSymbol, K::kNone,       K::kMetaStock,
                        K::kMetaStock,       K::kTextIndex,       K::kBinaryPerSymbol, K::kBinaryPerSymbol,
                        K::kRingBuffer,      K::kTextIndex,       K::kTextIndex,  K::kTextIndex,
                        K::kNone,            K::kTextIndex,       K::kTextIndex,  K::kTextIndex,
                        K::kOrvista,         K::kTextPlain,       K::kNone,       K::kNone,
                        K::kMetaStock,       K::kTextIndex,       K::kBinaryPerSymbol};
  for (int id = 0; id <= kMaxFormatId; ++id) EXPECT_EQ(expected[id], StorageKindOf(id)) << id;
}

TEST(DriverTableTest, IdsOutsideTheTablesHaveNothing) {
  for (int id : {-1, 23, 24, 127, 1000}) {
    EXPECT_FALSE(IsValidFormatId(id));
    EXPECT_EQ(StorageKind::kNone, StorageKindOf(id));
    EXPECT_EQ(MasterKind::kUnsupported, MasterKindOf(id));
    EXPECT_EQ(AddKind::kUnsupported, AddKindOf(id));
    EXPECT_EQ(RenameKind::kUnsupported, RenameKindOf(id));
  }
}

TEST(DriverTableTest, OperationTablesGroupIdsAsTheKindsDo) {
  struct Case {
    int id;
    MasterKind master;
    AddKind add;
    RenameKind rename;
  } cases[] = {
      {0, MasterKind::kMasterDat, AddKind::kDriver, RenameKind::kNotPossible},
      {1, MasterKind::kNoMaster, AddKind::kNameIsSymbol, RenameKind::kNotPossible},
      {2, MasterKind::kUnsupported, AddKind::kUnsupported, RenameKind::kUnsupported},
      {3, MasterKind::kMetaStock, AddKind::kDriver, RenameKind::kDriver},
      {4, MasterKind::kMetaStock, AddKind::kDriver, RenameKind::kDriver},
      {5, MasterKind::kAsciiIndex, AddKind::kDriver, RenameKind::kDriver},
      {6, MasterKind::kNoMaster, AddKind::kNameIsSymbol, RenameKind::kFilePerSymbol},
      {7, MasterKind::kNoMaster, AddKind::kNameIsSymbol, RenameKind::kNotPossible},
      {8, MasterKind::kMasterDat, AddKind::kDriver, RenameKind::kNotPossible},
      {9, MasterKind::kAsciiIndex, AddKind::kDriver, RenameKind::kDriver},
      {10, MasterKind::kAsciiIndex, AddKind::kDriver, RenameKind::kDriver},
      {11, MasterKind::kAsciiIndex, AddKind::kDriver, RenameKind::kDriver},
      {12, MasterKind::kUnsupported, AddKind::kUnsupported, RenameKind::kUnsupported},
      {13, MasterKind::kAsciiIndex, AddKind::kDriver, RenameKind::kDriver},
      {14, MasterKind::kAsciiIndex, AddKind::kDriver, RenameKind::kDriver},
      {15, MasterKind::kAsciiIndex, AddKind::kDriver, RenameKind::kDriver},
      {16, MasterKind::kNoMaster, AddKind::kDriver, RenameKind::kNotPossible},
      {17, MasterKind::kNoMaster, AddKind::kNameIsSymbol, RenameKind::kFilePerSymbol},
      {18, MasterKind::kUnsupported, AddKind::kUnsupported, RenameKind::kUnsupported},
      {19, MasterKind::kUnsupported, AddKind::kUnsupported, RenameKind::kUnsupported},
      {20, MasterKind::kMetaStock, AddKind::kDriver, RenameKind::kDriver},
      {21, MasterKind::kAsciiIndex, AddKind::kDriver, RenameKind::kDriver},
      {22, MasterKind::kNoMaster, AddKind::kNameIsSymbol, RenameKind::kFilePerSymbol},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.master, MasterKindOf(c.id)) << c.id;
    EXPECT_EQ(c.add, AddKindOf(c.id)) << c.id;
    EXPECT_EQ(c.rename, RenameKindOf(c.id)) << c.id;
  }
}

}  // namespace
}  // namespace kvqt
