// The directory editor's adding and removing, with its messages and questions.
#include "maintenance/directory_editor.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "app/core/messages.h"
#include "app/model/format_table.h"
#include "formats/datafile_entry.h"
#include "formats/format_driver.h"
#include "platform/path.h"
#include "support/hex.h"
#include "support/temp_dir.h"

namespace kvqt {
namespace {

std::vector<std::string> Texts(ScopedMessages& messages) {
  std::vector<std::string> texts;
  for (const auto& s : messages->shown()) texts.push_back(s.text);
  return texts;
}

TEST(DirectoryEditorTest, OnlyFormatsWithDirectoriesAreOffered) {
  Formats formats;
  MergeFormatTable(formats);
  std::vector<Format*> offered = DirectoryFormats(formats);
  ASSERT_FALSE(offered.empty());
  for (Format* f : offered) EXPECT_TRUE(f->hasDirectories()) << f->symbol();
  EXPECT_EQ(offered.end(), std::find(offered.begin(), offered.end(), formats.findBySymbol("PEL")));
}

TEST(DirectoryEditorTest, AddingShowsWhyADirectoryDoesNotFit) {
  testing::TempDir temp;
  Formats formats;
  MergeFormatTable(formats);
  const std::string ms = temp.path() + "ms/";
  ASSERT_TRUE(platform::MakeDirectories(ms));
  DatafileEntry entry;
  ASSERT_EQ(1, CreateEntry("AAA", "AAA Corp", 0, entry, 4, ms));
  const std::string former = temp.path() + "former/";
  ASSERT_TRUE(platform::MakeDirectories(former));
  testing::WriteFileBytes(former + "master.kvq", testing::Padded("ABC", 9) + testing::Hex("00") +
                                                     testing::Le32(20000103) + testing::Le32(20000110) +
                                                     testing::Le16(6) + testing::Hex("00 00"));
  Format& ascii = *formats.findBySymbol("ASC");

  struct Case {
    std::string path;
    std::vector<bool> answers;
    bool added;
    std::vector<std::string> shown;
  } cases[] = {
      {ms, {}, false, {"Directory contains datafiles of another format:\nMetastock"}},
      {former, {false}, false,
       {"Ascii Masterfile will be converted. It can no longer be used with the DOS Korvane! Convert???"}},
      {former, {true}, true,
       {"Ascii Masterfile will be converted. It can no longer be used with the DOS Korvane! Convert???"}},
      {temp.path() + "quotes/", {}, true, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    ScopedMessages messages;
    for (bool yes : c.answers) messages->answerNext(yes);
    EXPECT_EQ(c.added, AddEditorDirectory(c.path, formats, ascii));
    EXPECT_EQ(c.shown, Texts(messages));
    if (c.added) {
      EXPECT_EQ(c.path, ascii.currentDirectory()->name());
    }
  }
  EXPECT_EQ(2, ascii.directoryCount());
}

TEST(DirectoryEditorTest, RemovingAsksFirstAndLeavesTheDisk) {
  testing::TempDir temp;
  Format format("ASC", "Ascii", 5);
  format.addDirectory(std::make_unique<Directory>(temp.path(), 5));
  const std::string ask = "Are you sure you want to remove directory:\n" + temp.path() + "\nfrom the korvane?";
  struct Case {
    int index;
    std::vector<bool> answers;
    bool removed;
    std::vector<std::string> shown;
  } cases[] = {
      {-1, {}, false, {"No directory selected"}},
      {0, {false}, false, {ask}},
      {0, {true}, true, {ask}},
  };
  for (const Case& c : cases) {
    ScopedMessages messages;
    for (bool yes : c.answers) messages->answerNext(yes);
    EXPECT_EQ(c.removed, RemoveEditorDirectory(format, c.index));
    EXPECT_EQ(c.shown, Texts(messages));
  }
  EXPECT_EQ(0, format.directoryCount());
  EXPECT_TRUE(platform::DirectoryExists(temp.path()));
}

}  // namespace
}  // namespace kvqt
