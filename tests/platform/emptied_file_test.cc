#include "platform/emptied_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include <gtest/gtest.h>

#include "support/temp_dir.h"

namespace kvqt::platform {
namespace {

using testing::TempDir;

long ModifiedAt(const std::string& path) {
  struct stat st;
  return ::stat(path.c_str(), &st) == 0 ? static_cast<long>(st.st_mtim.tv_sec) : -1;
}

void SetModified(const std::string& path, long seconds) {
  struct timespec times[2] = {{seconds, 0}, {seconds, 0}};
  ASSERT_EQ(0, ::utimensat(AT_FDCWD, path.c_str(), times, 0));
}

TEST(EmptiedFileTest, EmptiesAFileWithContentAndLeavesAnEmptyOneAlone) {
  TempDir dir;
  dir.write("full", "old content");
  dir.write("empty", "");
  SetModified(dir.file("full"), 1000);
  SetModified(dir.file("empty"), 1000);
  for (const char* name : {"full", "empty"}) {
    int fd = OpenEmptied(dir.file(name), O_WRONLY | O_CREAT, 0644);
    ASSERT_GE(fd, 0) << name;
    ASSERT_EQ(::write(fd, "new", 3), 3);
    ::close(fd);
    EXPECT_EQ("new", dir.read(name)) << name;
  }
  // Writing moves the time on; only the truncate of the full file had to.
  EXPECT_NE(1000, ModifiedAt(dir.file("full")));
}

TEST(EmptiedFileTest, AnEmptyFileIsNotTruncated) {
  TempDir dir;
  dir.write("empty", "");
  SetModified(dir.file("empty"), 1000);
  int fd = OpenEmptied(dir.file("empty"), O_RDWR | O_CREAT, 0644);
  ASSERT_GE(fd, 0);
  ::close(fd);
  EXPECT_EQ(1000, ModifiedAt(dir.file("empty")));
}

TEST(EmptiedFileTest, CreatesWithTheModeAndReportsFailures) {
  TempDir dir;
  const mode_t mask = ::umask(022);
  int fd = OpenEmptied(dir.file("new"), O_WRONLY | O_CREAT, 0640);
  ::umask(mask);
  ASSERT_GE(fd, 0);
  ::close(fd);
  struct stat st;
  ASSERT_EQ(0, ::stat(dir.file("new").c_str(), &st));
  EXPECT_EQ(st.st_mode & 07777, 0640u);
  EXPECT_EQ(-1, OpenEmptied(dir.file("missing/new"), O_WRONLY | O_CREAT, 0644));
  EXPECT_EQ(ENOENT, errno);
  EXPECT_EQ(-1, OpenEmptied(dir.file("absent"), O_WRONLY, 0644));
}

}  // namespace
}  // namespace kvqt::platform
