// Lookups through the master index find what a scan of the master finds.
#include "service/import/master_index.h"

#include <gtest/gtest.h>

#include "app/core/messages.h"
#include "formats/format_driver.h"
#include "service/import/search_in_master.h"
#include "support/temp_dir.h"

namespace kvqt {
namespace {

TEST(MasterIndexTest, LookupsFindWhatAScanFinds) {
  for (int formatId : {4, 5}) {
    SCOPED_TRACE(formatId);
    testing::TempDir dir;
    ScopedMessages quiet;
    for (const char* symbol : {"AAA", "BBB", "CCC", "DDD"}) {
      DatafileEntry entry;
      ASSERT_EQ(1, CreateEntry(symbol, symbol, 0, entry, formatId, dir.path()));
    }
    for (int flags : {kScanReadHeader, kScanReadHeader | kScanContinue}) {
      MasterHandles scanned, indexed;
      MasterIndex index;
      for (const char* symbol : {"CCC", "AAA", "ZZZ", "BBB", "DDD", "AAA", "CCCC"}) {
        SCOPED_TRACE(symbol);
        DatafileEntry byScan, byIndex;
        int rc = search_in_master(symbol, byScan, formatId, flags, dir.path(), scanned);
        EXPECT_EQ(rc, search_in_master(symbol, byIndex, formatId, flags, dir.path(), indexed, index));
        EXPECT_EQ(byScan.symbol, byIndex.symbol);
        EXPECT_EQ(byScan.fileNumber, byIndex.fileNumber);
        EXPECT_EQ(byScan.masterOffset, byIndex.masterOffset);
      }
      EXPECT_TRUE(index.usable());
    }
  }
}

}  // namespace
}  // namespace kvqt
