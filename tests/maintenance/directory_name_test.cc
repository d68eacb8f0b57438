// The add-directory dialog's checks of a typed directory name.
#include "maintenance/directory_name.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "app/core/messages.h"
#include "platform/path.h"
#include "support/temp_dir.h"

namespace kvqt {
namespace {

TEST(DirectoryNameTest, TypedNamesAndWhatTheDialogSays) {
  testing::TempDir temp;
  const std::string t = temp.path();
  ASSERT_TRUE(platform::MakeDirectories(t + "quotes"));
  testing::WriteFileBytes(t + "plain", "x");
  const std::string question = "The directory " + t + "new/deep does not exist. Create it?";

  struct Case {
    std::string typed;
    std::vector<bool> answers;       // to the create question
    std::string result;              // empty: the dialog stays open
    std::vector<std::string> shown;  // questions and messages in order
    std::string madeDirectory;       // exists afterwards when not empty
  } cases[] = {
      {"", {}, "", {"Specify directoryname"}, ""},
      {t + "quotes", {}, t + "quotes/", {}, ""},
      // The trailing separator is removed, and added once again.
      {t + "quotes//", {}, t + "quotes/", {}, ""},
      {t + "x/../quotes", {}, t + "quotes/", {}, ""},
      {t + "new/deep", {false}, "", {question}, ""},
      {t + "new/deep/", {true}, t + "new/deep/", {question}, t + "new/deep"},
      {"relative/quotes",
       {true},
       "",
       {"The directory relative/quotes does not exist. Create it?", "No drive specified in directoryname"},
       ""},
      {t + "bad\tname", {true}, "", {"The directory " + t + "bad\tname does not exist. Create it?",
                                    "Invalid directory name"}, ""},
      {t + std::string(256, 'a'), {true}, "", {"The directory " + t + std::string(256, 'a') +
                                              " does not exist. Create it?", "Invalid directory name"}, ""},
      {t + "plain", {}, "", {t + "plain is not a directory"}, ""},
      {t + "plain/sub", {true}, "", {"The directory " + t + "plain/sub does not exist. Create it?",
                                    "Could not create " + t + "plain/sub"}, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed);
    ScopedMessages messages;
    for (bool yes : c.answers) messages->answerNext(yes);
    EXPECT_EQ(c.result, AcceptDirectoryName(c.typed));
    std::vector<std::string> shown;
    for (const auto& s : messages->shown()) shown.push_back(s.text);
    EXPECT_EQ(c.shown, shown);
    if (!c.madeDirectory.empty()) {
      EXPECT_TRUE(platform::DirectoryExists(c.madeDirectory));
    }
  }
  EXPECT_FALSE(platform::DirectoryExists(t + "bad\tname"));
  EXPECT_FALSE(platform::DirectoryExists("relative"));
}

TEST(DirectoryNameTest, AnExistingRelativeDirectoryIsRefusedAsWell) {
  // The current directory of a desktop start is anywhere: "." is not a place to keep.
  ScopedMessages messages;
  EXPECT_EQ("", AcceptDirectoryName("."));
  ASSERT_EQ(1u, messages->shown().size());
  EXPECT_EQ("No drive specified in directoryname", messages->shown()[0].text);
}

}  // namespace
}  // namespace kvqt
