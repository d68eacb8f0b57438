#include "platform/text_file.h"

#include <gtest/gtest.h>

#include "support/temp_dir.h"

namespace kvqt::platform {
namespace {

using kvqt::testing::TempDir;

TEST(TextFileTest, WritesCrLfAndReadsBothLineEnds) {
  TempDir dir;
  ASSERT_TRUE(AppendLine(dir.file("t.txt"), "one"));
  ASSERT_TRUE(AppendLine(dir.file("t.txt"), ""));
  EXPECT_EQ(dir.read("t.txt"), "one\r\n\r\n");

  dir.write("mixed.txt", "a\r\nb\nc\r\n\nlast");
  std::vector<std::string> lines;
  ASSERT_TRUE(ReadLines(dir.file("mixed.txt"), lines));
  EXPECT_EQ(lines, (std::vector<std::string>{"a", "b", "c", "", "last"}));

  EXPECT_FALSE(ReadLines(dir.file("absent.txt"), lines));
  EXPECT_FALSE(AppendLine(dir.file("no/such/dir/x"), "x"));
}

}  // namespace
}  // namespace kvqt::platform
