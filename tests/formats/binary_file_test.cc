#include "formats/binary_file.h"

#include <gtest/gtest.h>

#include "support/temp_dir.h"

namespace kvqt {
namespace {

using testing::TempDir;

TEST(BinaryFileTest, BufferedWritesReadBackAtEveryPosition) {
  TempDir dir;
  BinaryFile file;
  ASSERT_EQ(0, file.openOrCreate(dir.file("data"), true));
  std::string expected;
  for (int i = 0; i < 20000; ++i) {
    char record[7];
    for (int j = 0; j < 7; ++j) record[j] = static_cast<char>(i * 7 + j);
    ASSERT_TRUE(file.write(record, sizeof record));
    expected.append(record, sizeof record);
  }
  EXPECT_EQ(static_cast<std::int64_t>(expected.size()), file.size());
  // Overwrite in the middle, then read everything through the buffer.
  file.seek(70);
  ASSERT_TRUE(file.write("ABCDEFG", 7));
  expected.replace(70, 7, "ABCDEFG");
  char head[4];
  ASSERT_EQ(4, file.readAt(68, head, 4));
  EXPECT_EQ(expected.substr(68, 4), std::string(head, 4));
  file.seek(0);
  std::string back(expected.size() + 10, '\0');
  EXPECT_EQ(static_cast<std::int64_t>(expected.size()), file.read(back.data(), back.size()));
  back.resize(expected.size());
  EXPECT_EQ(expected, back);
  ASSERT_TRUE(file.close());
  EXPECT_EQ(expected, dir.read("data"));
}

TEST(BinaryFileTest, WritesAfterReadsGoWhereThePositionIs) {
  TempDir dir;
  dir.write("data", "0123456789");
  BinaryFile file;
  ASSERT_EQ(0, file.openExisting(dir.file("data"), true));
  char two[2];
  ASSERT_EQ(2, file.read(two, 2));
  ASSERT_TRUE(file.write("ab", 2));
  ASSERT_EQ(2, file.read(two, 2));
  EXPECT_EQ("45", std::string(two, 2));
  ASSERT_TRUE(file.writeAt(9, "Z", 1));
  ASSERT_TRUE(file.close());
  EXPECT_EQ("01ab45678Z", dir.read("data"));
}

TEST(BinaryFileTest, ReadOnlyHandlesRefuseWrites) {
  TempDir dir;
  dir.write("data", "x");
  BinaryFile file;
  ASSERT_EQ(0, file.openExisting(dir.file("data"), false));
  EXPECT_FALSE(file.write("y", 1));
  EXPECT_FALSE(file.writeAt(0, "y", 1));
  EXPECT_NE(0, file.openExisting(dir.file("missing"), false));
  EXPECT_NE(0, file.openExisting(dir.path(), false));  // a directory is no data file
}

}  // namespace
}  // namespace kvqt
