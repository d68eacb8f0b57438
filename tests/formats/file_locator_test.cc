#include "formats/file_locator.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "support/temp_dir.h"

namespace kvqt {
namespace {

using testing::TempDir;

TEST(FileLocatorTest, FindsFilesRegardlessOfCase) {
  TempDir dir;
  dir.write("Master", "m");
  dir.write("F12.DAT", "d");
  dir.write("f3.dat", "d");
  dir.write("Mixed.Dat", "d");
  struct Case {
    const char* name;
    const char* found;  // "" when missing
  } cases[] = {{"MASTER", "Master"}, {"master", "Master"}, {"f12.DAT", "F12.DAT"}, {"F3.DAT", "f3.dat"},
               {"mixed.dat", "Mixed.Dat"}, {"EMASTER", ""}, {"f4.DAT", ""}};
  for (const Case& c : cases) {
    std::string expected = *c.found ? dir.file(c.found) : "";
    EXPECT_EQ(expected, FindExistingFile(dir.path(), c.name)) << c.name;
    EXPECT_EQ(*c.found ? expected : dir.file(c.name), LocateFile(dir.path(), c.name)) << c.name;
  }
}

TEST(FileLocatorTest, ExactSpellingIsPreferred) {
  TempDir dir;
  dir.write("F1.DAT", "upper");
  dir.write("f1.DAT", "exact");
  EXPECT_EQ(dir.file("f1.DAT"), FindExistingFile(dir.path(), "f1.DAT"));
}

// The directory's modification time moves on, as it does with every change
// made a clock tick later.
void Touch(const TempDir& dir, long seconds) {
  struct timespec times[2] = {{seconds, 0}, {seconds, 0}};
  ASSERT_EQ(0, ::utimensat(AT_FDCWD, dir.path().c_str(), times, 0));
}

TEST(FileLocatorTest, ChangesByOtherProgramsAreSeen) {
  TempDir dir;
  dir.write("MASTER", "m");
  Touch(dir, 1000);
  EXPECT_EQ("", FindExistingFile(dir.path(), "xmaster.x"));
  // Created behind the kept listing's back, in a spelling only a listing finds.
  dir.write("XMaster.X", "x");
  Touch(dir, 2000);
  EXPECT_EQ(dir.file("XMaster.X"), FindExistingFile(dir.path(), "xmaster.x"));
  ::unlink(dir.file("XMaster.X").c_str());
  Touch(dir, 3000);
  EXPECT_EQ("", FindExistingFile(dir.path(), "xmaster.x"));
}

TEST(FileLocatorTest, OwnChangesKeepTheListingCurrent) {
  TempDir dir;
  dir.write("Other.Txt", "o");
  EXPECT_EQ("", FindExistingFile(dir.path(), "new.file"));
  {
    DirectoryChange change(dir.path());
    dir.write("New.File", "n");
    change.created("New.File");
  }
  EXPECT_EQ(dir.file("New.File"), FindExistingFile(dir.path(), "new.file"));
  EXPECT_EQ(dir.file("Other.Txt"), FindExistingFile(dir.path(), "other.txt"));
}


// The program's own removals and renames keep the listing too: a file that
// another program slipped in without moving the directory's time stays
// unseen, which only a listing read again would show.
TEST(FileLocatorTest, OwnRemovalsKeepTheListingCurrent) {
  TempDir dir;
  dir.write("Gone.Txt", "g");
  dir.write("Other.Txt", "o");
  EXPECT_EQ(dir.file("Other.Txt"), FindExistingFile(dir.path(), "other.txt"));
  struct stat st;
  ASSERT_EQ(0, ::stat(dir.path().c_str(), &st));
  dir.write("Sneaky.Txt", "s");
  struct timespec times[2] = {st.st_atim, st.st_mtim};
  ASSERT_EQ(0, ::utimensat(AT_FDCWD, dir.path().c_str(), times, 0));
  {
    DirectoryChange change(dir.path());
    ASSERT_EQ(0, ::unlink(dir.file("Gone.Txt").c_str()));
    change.removed("Gone.Txt");
    ASSERT_EQ(0, ::mkdir(dir.file("sub").c_str(), 0755));
    change.subdirectoryChanged();
  }
  EXPECT_EQ("", FindExistingFile(dir.path(), "gone.txt"));
  EXPECT_EQ(dir.file("Other.Txt"), FindExistingFile(dir.path(), "other.txt"));
  EXPECT_EQ("", FindExistingFile(dir.path(), "sneaky.txt"));
}

// A working directory of the program's own answers from its listing and the
// changes reported, without looking at the disk; once forgotten, the disk
// answers again.
TEST(FileLocatorTest, OwnedDirectoriesAnswerFromTheReportedChanges) {
  TempDir dir;
  dir.write("Left.Over", "l");
  OwnDirectory(dir.path());
  EXPECT_EQ(dir.file("Left.Over"), FindExistingFile(dir.path(), "left.over"));
  dir.write("f1.DAT", "not reported");
  Touch(dir, 1000);
  EXPECT_EQ("", FindExistingFile(dir.path(), "f1.DAT"));
  {
    DirectoryChange change(dir.path());
    dir.write("f2.DAT", "reported");
    change.created("f2.DAT");
  }
  EXPECT_EQ(dir.file("f2.DAT"), FindExistingFile(dir.path(), "F2.dat"));
  {
    DirectoryChange change(dir.path());
    ASSERT_EQ(0, ::unlink(dir.file("Left.Over").c_str()));
    change.removed("Left.Over");
  }
  EXPECT_EQ("", FindExistingFile(dir.path(), "left.over"));
  ForgetDirectoryListing(dir.path());
  EXPECT_EQ(dir.file("f1.DAT"), FindExistingFile(dir.path(), "f1.DAT"));
}

}  // namespace
}  // namespace kvqt
