// The list editor's lists and their directories, with its messages and questions.
#include "maintenance/list_editor.h"

#include <gtest/gtest.h>

#include "app/core/messages.h"
#include "app/model/format_ids.h"
#include "app/model/format_table.h"
#include "formats/datafile_entry.h"
#include "formats/format_driver.h"
#include "platform/path.h"
#include "support/temp_dir.h"

namespace kvqt {
namespace {

std::vector<std::string> Texts(ScopedMessages& messages) {
  std::vector<std::string> texts;
  for (const auto& s : messages->shown()) texts.push_back(s.text);
  return texts;
}

class ListEditorTest : public ::testing::Test {
 protected:
  ListEditorTest() { MergeFormatTable(formats); }
  testing::TempDir temp;
  Formats formats;
  ScopedMessages messages;
};

TEST_F(ListEditorTest, AListIsAddedOnceAndBecomesCurrent) {
  Format& ascii = *formats.findBySymbol("ASC");
  EXPECT_FALSE(AddEditorList("", formats, ascii));
  EXPECT_FALSE(AddEditorList(std::string(256, 'x'), formats, ascii));
  EXPECT_EQ(0, ascii.listCount());
  EXPECT_TRUE(AddEditorList("Daily", formats, ascii));
  EXPECT_TRUE(AddEditorList("Banks", formats, ascii));
  EXPECT_TRUE(AddEditorList("Daily", formats, ascii));
  EXPECT_EQ(2, ascii.listCount());
  EXPECT_EQ("Daily", ascii.currentList()->name());
  // A list named after a directory is just a name for the other formats.
  EXPECT_TRUE(AddEditorList(temp.path(), formats, ascii));
  EXPECT_EQ(0, ascii.listByName(temp.path())->directoryCount());
  EXPECT_TRUE(Texts(messages).empty());
}

TEST_F(ListEditorTest, KoersbaseAndHermesListsNamedAfterADirectoryGetIt) {
  for (int id : {kFormatIdKoersbase, kFormatIdHermes}) {
    SCOPED_TRACE(id);
    Format& format = *formats.findById(id);
    ASSERT_TRUE(AddEditorList(temp.path(), formats, format));
    List& list = *format.currentList();
    EXPECT_EQ(temp.path(), list.name());
    ASSERT_EQ(1, list.directoryCount());
    EXPECT_EQ(temp.path(), list.currentDirectory()->name());
    EXPECT_EQ(temp.path(), format.currentDirectory()->name());
    // A name that is no directory stays a name.
    ASSERT_TRUE(AddEditorList(temp.path() + "missing", formats, format));
    EXPECT_EQ(0, format.currentList()->directoryCount());
  }
}

TEST_F(ListEditorTest, DeletingListsAndDirectoriesAsksFirst) {
  Format& ascii = *formats.findBySymbol("ASC");
  ASSERT_TRUE(AddEditorList("Daily", formats, ascii));
  List& list = *ascii.currentList();
  ASSERT_TRUE(AddEditorListDirectory(temp.path(), formats, ascii, list));
  ASSERT_EQ(1, list.directoryCount());

  messages->answerNext(false);
  EXPECT_FALSE(RemoveEditorListDirectory(list, 0));
  EXPECT_FALSE(RemoveEditorListDirectory(list, -1));
  messages->answerNext(true);
  EXPECT_TRUE(RemoveEditorListDirectory(list, 0));
  EXPECT_EQ(0, list.directoryCount());
  EXPECT_EQ(1, ascii.directoryCount());  // the format keeps it

  messages->answerNext(false);
  EXPECT_FALSE(RemoveEditorList(ascii, 0));
  EXPECT_FALSE(RemoveEditorList(ascii, -1));
  messages->answerNext(true);
  EXPECT_TRUE(RemoveEditorList(ascii, 0));
  EXPECT_EQ(0, ascii.listCount());
  EXPECT_FALSE(ListChosen(nullptr));

  const std::string removeDirectory = "Remove directory:\n" + temp.path() + "\nfrom the list?";
  EXPECT_EQ((std::vector<std::string>{removeDirectory, "No directory selected", removeDirectory,
                                      "Delete list Daily?", "No list selected", "Delete list Daily?",
                                      "Select a list first"}),
            Texts(messages));
}

TEST_F(ListEditorTest, AListDirectoryOfAnotherFormatIsRefused) {
  const std::string ms = temp.path() + "ms/";
  ASSERT_TRUE(platform::MakeDirectories(ms));
  DatafileEntry entry;
  ASSERT_EQ(1, CreateEntry("AAA", "AAA Corp", 0, entry, 4, ms));
  Format& ascii = *formats.findBySymbol("ASC");
  ASSERT_TRUE(AddEditorList("Daily", formats, ascii));
  EXPECT_FALSE(AddEditorListDirectory(ms, formats, ascii, *ascii.currentList()));
  EXPECT_EQ(0, ascii.currentList()->directoryCount());
  EXPECT_EQ(0, ascii.directoryCount());
  EXPECT_EQ(std::vector<std::string>{"Directory contains datafiles of another format:\nMetastock"}, Texts(messages));
}

}  // namespace
}  // namespace kvqt
