#include "platform/path.h"

#include <gtest/gtest.h>

#include "support/temp_dir.h"

namespace kvqt::platform {
namespace {

using kvqt::testing::TempDir;

TEST(PathTest, SeparatorsAndParts) {
  EXPECT_EQ(EnsureTrailingSeparator("/data/ms"), "/data/ms/");
  EXPECT_EQ(EnsureTrailingSeparator("/data/ms/"), "/data/ms/");
  EXPECT_TRUE(IsAbsolutePath("/data"));
  EXPECT_FALSE(IsAbsolutePath("data/ms"));
  EXPECT_FALSE(IsAbsolutePath(""));
  EXPECT_EQ(DirectoryPart("/a/b/F1.DAT"), "/a/b/");
  EXPECT_EQ(DirectoryPart("F1.DAT"), "");
  EXPECT_EQ(FileNamePart("/a/b/F1.DAT"), "F1.DAT");
  EXPECT_TRUE(EqualsNoCase("/Data/MS/", "/data/ms/"));
  EXPECT_LT(CompareNoCase("abc", "ABD"), 0);
  EXPECT_GT(CompareNoCase("abcd", "ABC"), 0);
}

TEST(PathTest, FindsExistingFileRegardlessOfCasePreferringExactSpelling) {
  TempDir dir;
  dir.write("Master", "m");
  dir.write("f1.dat", "d");
  EXPECT_EQ(FindFileNoCase(dir.path(), "MASTER"), dir.file("Master"));
  EXPECT_EQ(FindFileNoCase(dir.path(), "F1.DAT"), dir.file("f1.dat"));
  EXPECT_EQ(FindFileNoCase(dir.path(), "F2.DAT"), dir.file("F2.DAT"));
  EXPECT_EQ(ResolveNoCase(dir.file("MASTER")), dir.file("Master"));
  dir.write("MASTER", "exact");
  EXPECT_EQ(FindFileNoCase(dir.path(), "MASTER"), dir.file("MASTER"));
}

TEST(PathTest, CopyNeverReplacesAnExistingFile) {
  TempDir dir;
  dir.write("from", std::string(100000, 'x'));
  EXPECT_TRUE(CopyFileNoOverwrite(dir.file("from"), dir.file("to")));
  EXPECT_EQ(dir.read("to"), std::string(100000, 'x'));
  dir.write("kept", "old");
  EXPECT_FALSE(CopyFileNoOverwrite(dir.file("from"), dir.file("kept")));
  EXPECT_EQ(dir.read("kept"), "old");
  EXPECT_FALSE(CopyFileNoOverwrite(dir.file("absent"), dir.file("new")));
  EXPECT_FALSE(dir.exists("new"));
}

}  // namespace
}  // namespace kvqt::platform
