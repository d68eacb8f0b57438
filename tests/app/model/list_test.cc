#include "app/model/list.h"

#include <gtest/gtest.h>

#include "app/core/messages.h"

namespace kvqt {
namespace {

std::unique_ptr<Directory> DirWith(const char* path, std::initializer_list<std::pair<const char*, const char*>> entries) {
  auto directory = std::make_unique<Directory>(path, 4);
  for (const auto& [symbol, name] : entries) directory->add(std::make_unique<Datafile>(symbol, name, 4, 30));
  return directory;
}

TEST(ListTest, FindNameSearchesTheDirectoriesInOrder) {
  List list("Mine", 4);
  list.addDirectory(DirWith("/b/", {{"ASML", "ASML from b"}}));
  list.addDirectory(DirWith("/a/", {{"UNA", "Unilever"}, {"ASML", "ASML from a"}}));
  std::string name = "unchanged";
  EXPECT_TRUE(list.findName("ASML", name));
  EXPECT_EQ(name, "ASML from a");
  EXPECT_FALSE(list.findName("XYZ", name));
  EXPECT_EQ(name, "ASML from a");
}

TEST(ListTest, DirectoriesAreAddedWhenAbsent) {
  List list("Mine", 4);
  EXPECT_TRUE(list.addDirectory(DirWith("/a/", {})));
  EXPECT_FALSE(list.addDirectory(DirWith("/A/", {})));
  EXPECT_EQ(list.directoryCount(), 1);
  EXPECT_NE(list.directoryByName("/a"), nullptr);
}

TEST(ListTest, SetCurrentTakesOnlyAValidIndex) {
  List list("Mine", 4);
  list.addDirectory(DirWith("/a/", {}));
  list.addDirectory(DirWith("/b/", {}));
  list.setCurrent(1);
  EXPECT_EQ(list.curDir(), 1);
  list.setCurrent(2);
  EXPECT_EQ(list.curDir(), 1);
  list.setCurrent(std::string_view("/A/"));
  EXPECT_EQ(list.curDir(), 0);
  list.setCurrent(std::string_view("/z/"));
  EXPECT_EQ(list.currentDirectory(), nullptr);
}

TEST(ListTest, RemoveDirectoryClampsAndRejectsIllegalIndexes) {
  ScopedMessages messages;
  List list("Mine", 4);
  list.addDirectory(DirWith("/a/", {}));
  list.addDirectory(DirWith("/b/", {}));
  list.setCurDir(1);
  EXPECT_EQ(list.removeDirectory(5), -1);
  ASSERT_EQ(messages->shown().size(), 1u);
  EXPECT_EQ(messages->shown()[0].text, "Illegal directory id 5");
  EXPECT_EQ(list.removeDirectory(1), 0);
  EXPECT_EQ(list.curDir(), 0);
}

TEST(ListTest, NameIsCutTo255Characters) {
  List list(std::string(300, 'x'), 4);
  EXPECT_EQ(list.name().size(), 255u);
}

}  // namespace
}  // namespace kvqt
