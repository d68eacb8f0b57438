#include "platform/file_exchange.h"

#include <sys/stat.h>

#include <cerrno>

#include <gtest/gtest.h>

#include "support/temp_dir.h"

namespace kvqt::platform {
namespace {

using testing::TempDir;

TEST(FileExchangeTest, SwapsTwoFilesAndRefusesAMissingOne) {
  TempDir dir;
  dir.write("a", "first");
  ASSERT_EQ(0, ::mkdir(dir.file("sub").c_str(), 0755));
  dir.write("sub/b", "second");
  ASSERT_TRUE(ExchangeFiles(dir.file("a"), dir.file("sub/b")));
  EXPECT_EQ("second", dir.read("a"));
  EXPECT_EQ("first", dir.read("sub/b"));
  EXPECT_FALSE(ExchangeFiles(dir.file("a"), dir.file("missing")));
  EXPECT_EQ(ENOENT, errno);
  EXPECT_EQ("second", dir.read("a"));
}

}  // namespace
}  // namespace kvqt::platform
