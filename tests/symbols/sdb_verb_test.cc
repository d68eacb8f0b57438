#include "kvqt-info/sdb_verb.h"

#include <gtest/gtest.h>

#include <sstream>

#include "sdb_test_util.h"
#include "support/hex.h"
#include "support/temp_dir.h"
#include "tools/kvqt-info/info_run.h"

namespace kvqt::info {
namespace {

using testing::Le32;
using testing::SdbInstrumentBytes;
using testing::SdbItemBytes;
using testing::SdbSplitBytes;
using testing::TempDir;

std::string Header(int currencies, int exchanges, int instruments, int splits) {
  return Le32(30004) + Le32(currencies) + Le32(128) + Le32(exchanges) + Le32(256) + Le32(instruments) + Le32(1024) +
         Le32(splits) + Le32(256);
}

TEST(SdbVerbTest, OneLinePerRecord) {
  TempDir dir;
  dir.write("kvqt.sdb", Header(1, 1, 2, 1) + SdbItemBytes(3, "EUR") + SdbItemBytes(42, "Amsterdam") +
                            SdbInstrumentBytes(1111, "PHIA", "Koninklijke Philips", 3, 42, 16, 19991231) +
                            SdbInstrumentBytes(7, "A\"B", "", -1, 0, 0, 0) +
                            SdbSplitBytes(1111, 20050310, "PHIA", 20050401, "00 00 00 3f", "Philips", 1));
  std::ostringstream out, err;
  ASSERT_EQ(RunSdbVerb(dir.file("kvqt.sdb"), out, err), 0) << err.str();
  EXPECT_EQ(out.str(),
            "sdb layout=current version=30004 currencies=1 currencycapacity=128 exchanges=1 exchangecapacity=256 "
            "instruments=2 instrumentcapacity=1024 splits=1 splitcapacity=256\n"
            "currency code=3 name=EUR\n"
            "exchange code=42 name=Amsterdam\n"
            "instrument sincode=1111 symbol=PHIA name=\"Koninklijke Philips\" currency=3 exchange=42 "
            "securitytype=16 startdate=19991231 seconddate=0\n"
            "instrument sincode=7 symbol=\"A\\\"B\" name=\"\" currency=-1 exchange=0 securitytype=0 startdate=0 "
            "seconddate=0\n"
            "split sincode=1111 recorddate=20050310 symbol=PHIA splitdate=20050401 factor=0.5 name=Philips "
            "applied=1\n");
  EXPECT_EQ(err.str(), "");
}

TEST(SdbVerbTest, EarlierLayoutIsNamed) {
  TempDir dir;
  dir.write("sintab.db", Le32(0) + Le32(128) + Le32(0) + Le32(256) + Le32(0) + Le32(1024) + Le32(0) + Le32(256));
  std::ostringstream out, err;
  ASSERT_EQ(RunSdbVerb(dir.file("sintab.db"), out, err), 0);
  EXPECT_EQ(out.str(),
            "sdb layout=earlier currencies=0 currencycapacity=128 exchanges=0 exchangecapacity=256 instruments=0 "
            "instrumentcapacity=1024 splits=0 splitcapacity=256\n");
}

TEST(SdbVerbTest, BadInputEndsWithAMessage) {
  TempDir dir;
  dir.write("short.sdb", Header(0, 0, 3, 0) + "x");
  std::ostringstream out, err;
  EXPECT_EQ(RunSdbVerb(dir.file("short.sdb"), out, err), 1);
  EXPECT_EQ(out.str(), "");
  EXPECT_EQ(err.str(), "kvqt-info: " + dir.file("short.sdb") +
                           ": not a symbol table: file holds 37 bytes, its counts need 336\n");
  std::ostringstream out2, err2;
  EXPECT_EQ(RunSdbVerb(dir.file("missing.sdb"), out2, err2), 1);
  EXPECT_NE(err2.str(), "");
}

TEST(SdbVerbTest, ReachedThroughKvqtInfoWithItsUsage) {
  TempDir dir;
  dir.write("kvqt.sdb", Header(1, 0, 0, 0) + SdbItemBytes(3, "EUR"));
  InfoRun run = RunInfo("sdb", {dir.file("kvqt.sdb")});
  EXPECT_EQ(run.rc, 0);
  EXPECT_NE(run.out.find("\ncurrency code=3 name=EUR\n"), std::string::npos);
  for (const std::vector<std::string>& args : {std::vector<std::string>{}, {"a", "b"}}) {
    run = RunInfo("sdb", args);
    EXPECT_EQ(run.rc, 2);
    EXPECT_NE(run.err.find("usage"), std::string::npos);
  }
}

}  // namespace
}  // namespace kvqt::info
