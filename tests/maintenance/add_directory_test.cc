// A directory joining a format or a list: creation, detection, the convert
// question, and a directory that is there already.
#include "maintenance/add_directory.h"

#include <gtest/gtest.h>

#include "app/model/format_table.h"
#include "formats/datafile_entry.h"
#include "formats/format_driver.h"
#include "platform/path.h"
#include "support/hex.h"
#include "support/temp_dir.h"

namespace kvqt {
namespace {

using testing::Hex;
using testing::Le16;
using testing::Le32;
using testing::Padded;
using testing::ToHex;

constexpr int kMetastock = 4;
constexpr int kAsciiComma = 5;

class AddDirectoryTest : public ::testing::Test {
 protected:
  AddDirectoryTest() { MergeFormatTable(formats); }

  std::string ChartDirectory(const std::string& name, int formatId) {
    std::string path = temp.path() + name + "/";
    EXPECT_TRUE(platform::MakeDirectories(path));
    DatafileEntry entry;
    EXPECT_EQ(1, CreateEntry("AAA", "AAA Corp", 0, entry, formatId, path));
    return path;
  }

  // An older ASCII index: 22-byte records, no header.
  std::string FormerAscii() {
    std::string path = temp.path() + "former/";
    EXPECT_TRUE(platform::MakeDirectories(path));
    testing::WriteFileBytes(path + "master.kvq", kOldIndex);
    return path;
  }

  Format& Ascii() { return *formats.findById(kAsciiComma); }

  const std::string kOldIndex =
      Padded("ABC", 9) + Hex("00") + Le32(20000103) + Le32(20000110) + Le16(6) + Hex("00 00");
  testing::TempDir temp;
  Formats formats;
};

TEST_F(AddDirectoryTest, AMissingDirectoryIsMadeAndBecomesCurrent) {
  const std::string path = temp.path() + "new/quotes/";
  AddedDirectory added = AddDirectoryToFormat(path, formats, Ascii(), nullptr);
  ASSERT_NE(nullptr, added.directory);
  EXPECT_TRUE(added.created);
  EXPECT_TRUE(platform::DirectoryExists(path));
  EXPECT_EQ(path, Ascii().currentDirectory()->name());

  // Again: one entry, nothing made.
  AddedDirectory again = AddDirectoryToFormat(path, formats, Ascii(), nullptr);
  EXPECT_TRUE(again.alreadyInFormat);
  EXPECT_FALSE(again.created);
  EXPECT_EQ(1, Ascii().directoryCount());
}

TEST_F(AddDirectoryTest, DirectoriesThatDoNotFitAreRefusedWithTheirMessage) {
  const std::string plain = temp.file("plain");
  testing::WriteFileBytes(plain, "not a directory");
  struct Case {
    int format;
    std::string directory;
    std::string message;
  } cases[] = {
      {kAsciiComma, ChartDirectory("ms", kMetastock), "Directory contains datafiles of another format:\nMetastock"},
      {kMetastock, ChartDirectory("asc", kAsciiComma),
       "Directory contains datafiles of another format:\nAscii: Comma Delimited"},
      {kMetastock, FormerAscii(), "Directory contains former ascii datafiles"},
      {kAsciiComma, plain + "/", "ERROR: " + plain + " exists and is not a directory"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.directory);
    Format& format = *formats.findById(c.format);
    AddedDirectory added = AddDirectoryToFormat(c.directory, formats, format, [] { return true; });
    EXPECT_EQ(nullptr, added.directory);
    EXPECT_EQ(c.message, added.message);
    EXPECT_EQ(0, format.directoryCount());
  }
}

TEST_F(AddDirectoryTest, AnOlderAsciiIndexIsConvertedOnlyAfterYes) {
  const std::string former = FormerAscii();
  int asked = 0;
  AddedDirectory declined = AddDirectoryToFormat(former, formats, Ascii(), [&] { return ++asked, false; });
  EXPECT_EQ(1, asked);
  EXPECT_TRUE(declined.declined);
  EXPECT_EQ(nullptr, declined.directory);
  EXPECT_EQ(0, Ascii().directoryCount());
  EXPECT_EQ(ToHex(kOldIndex), ToHex(testing::ReadFileBytes(former + "master.kvq")));

  AddedDirectory converted = AddDirectoryToFormat(former, formats, Ascii(), [] { return true; });
  ASSERT_NE(nullptr, converted.directory);
  EXPECT_TRUE(converted.converted);
  // The index now has its header (four bytes 20); the old one is kept.
  EXPECT_EQ(ToHex(Hex("14 14 14 14")), ToHex(testing::ReadFileBytes(former + "master.kvq").substr(0, 4)));
  EXPECT_EQ(ToHex(kOldIndex), ToHex(testing::ReadFileBytes(former + "master.old")));
}

TEST_F(AddDirectoryTest, AListGetsItsOwnEntryAndTheFormatOneToo) {
  Format& format = Ascii();
  format.addList(std::make_unique<List>("Daily", format.formatId()));
  List& list = *format.listByName("Daily");
  const std::string path = temp.path() + "quotes/";

  AddedDirectory added = AddDirectoryToList(path, formats, format, list, nullptr);
  ASSERT_NE(nullptr, added.directory);
  EXPECT_EQ(list.directoryByName(path), added.directory);
  EXPECT_NE(format.directoryByName(path), added.directory);
  EXPECT_EQ(path, list.currentDirectory()->name());
  EXPECT_EQ(path, format.currentDirectory()->name());

  AddedDirectory again = AddDirectoryToList(path, formats, format, list, nullptr);
  EXPECT_TRUE(again.alreadyInFormat);
  EXPECT_TRUE(again.alreadyInList);
  EXPECT_EQ(1, list.directoryCount());
  EXPECT_EQ(1, format.directoryCount());
}

}  // namespace
}  // namespace kvqt
