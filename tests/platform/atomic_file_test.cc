#include "platform/atomic_file.h"

#include <sys/stat.h>

#include <filesystem>
#include <gtest/gtest.h>

#include "platform/clock.h"
#include "support/temp_dir.h"

namespace kvqt::platform {
namespace {

using kvqt::testing::TempDir;

TEST(AtomicFileTest, ReplacesWholeFileWithModeAndLeavesNoTemporary) {
  TempDir dir;
  dir.write("f", "old contents that are longer");
  ASSERT_TRUE(WriteFileAtomically(dir.file("f"), "new", 0600));
  EXPECT_EQ(dir.read("f"), "new");
  struct stat st;
  ASSERT_EQ(::stat(dir.file("f").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0600u);
  int files = 0;
  for (auto& e : std::filesystem::directory_iterator(dir.path())) files += e.is_regular_file();
  EXPECT_EQ(files, 1);
}

TEST(AtomicFileTest, FailureLeavesOldFile) {
  TempDir dir;
  EXPECT_FALSE(WriteFileAtomically(dir.file("missing/f"), "x"));
  std::string bytes;
  EXPECT_FALSE(ReadWholeFile(dir.file("missing/f"), bytes));
}

TEST(AtomicFileTest, FileTimeComesFromTheProgramClock) {
  TempDir dir;
  dir.write("f", "x");
  ScopedFixedClock clock({2001, 2, 3, 4, 5, 6});
  ASSERT_TRUE(SetFileTimeNow(dir.file("f")));
  struct stat st;
  ASSERT_EQ(::stat(dir.file("f").c_str(), &st), 0);
  EXPECT_EQ(st.st_mtime, Now());
}

}  // namespace
}  // namespace kvqt::platform
