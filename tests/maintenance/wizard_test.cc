// The configuration wizard's logic: texts, user checks, page flow, formats,
// the setup page's directory rules and the directory search.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "app/datafile/login_record.h"
#include "app/core/messages.h"
#include "app/model/format_table.h"
#include "app/model/formats.h"
#include "app/core/personal_profile.h"
#include "maintenance/wizard_directories.h"
#include "maintenance/wizard_flow.h"
#include "maintenance/wizard_formats.h"
#include "maintenance/wizard_search.h"
#include "maintenance/wizard_texts.h"
#include "maintenance/wizard_user.h"
#include "platform/path.h"
#include "support/hex.h"
#include "support/temp_dir.h"

namespace kvqt {
namespace {

using testing::TempDir;

// Drive c: is the test's home directory (no Wine prefix there).
class WizardTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (const char* h = std::getenv("HOME")) oldHome_ = h;
    ::setenv("HOME", home_.path().c_str(), 1);
    ::unsetenv("WINEPREFIX");
    setProfilePath(home_.file("kvqt.ini"));
  }
  void TearDown() override { ::setenv("HOME", oldHome_.c_str(), 1); }

  // A MetaStock directory: a MASTER with one daily entry.
  std::string MetastockDirectory(const std::string& name) {
    const std::string dir = home_.path() + name + "/";
    platform::MakeDirectories(dir);
    std::string master(53 * 2, '\0');
    master[0] = 1;            // one entry
    master[53 + 33] = 'D';    // its period: daily
    testing::WriteFileBytes(dir + "MASTER", master);
    return dir;
  }

  TempDir home_;
  std::string oldHome_;
  ScopedMessages messages_;
};

TEST_F(WizardTest, TextsByBaseIdAndLanguage) {
  const struct {
    int id, language;
    const char* text;
  } cases[] = {
      {kTextBack, 0, "&Back..."},      {kTextNext, 0, "&Next..."},      {kTextCancel, 0, "Cancel"},
      {kTextFinish, 0, "&Finish"},     {kTextUserNumberLabel, 0, "&User number"},
      {kTextPasswordLabel, 0, "&Password"}, {kTextAdd, 0, "Add..."},    {kTextBrowse, 0, "Browse..."},
      {kTextSearch, 0, "Search..."},   {kTextDelete, 0, "Delete..."},   {kTextStopSearch, 0, "Cancel"},
      {kTextDataFormat, 0, "Data format"}, {kTextCancel, 1, "Annuleren"}, {kTextCancel, 2, "Annuler"},
      {kTextCancel, 7, "Cancel"},      {4242, 0, ""},
  };
  for (const auto& c : cases) EXPECT_EQ(c.text, WizardText(c.id, c.language)) << c.id << " " << c.language;
}

TEST_F(WizardTest, MessagesInsertTheTextCutAt80) {
  EXPECT_EQ("ERROR: /x/ already holds a different format", WizardMessage(kErrorHoldsDifferentFormat, 0, "/x/"));
  EXPECT_EQ("FOUT: Ongeldig wachtwoord", WizardMessage(kErrorInvalidPassword, 1));
  EXPECT_EQ("scanner /a/", WizardMessage(kStatusScanning, 2, "/a/"));
  EXPECT_EQ("ERROR: Directory " + std::string(80, 'd') + " does not exist",
            WizardMessage(kErrorDirectoryMissing, 0, std::string(200, 'd')));
}

TEST_F(WizardTest, UserPageChecks) {
  const struct {
    const char* user;
    const char* password;
    UserPageField field;
    const char* login;
    const char* message;
  } cases[] = {
      {"12345", "abcdefgh", UserPageField::None, "12345vqx", nullptr},
      {"12345vqx", "abcdefgh", UserPageField::None, "12345vqx", nullptr},
      {"1234a", "abcdefgh", UserPageField::UserNumber, "", "ERROR: Invalid user name"},
      {"1234", "abcdefgh", UserPageField::UserNumber, "", "ERROR: Invalid user name"},
      {"12345", "abcdefg", UserPageField::Password, "", "ERROR: Invalid password"},
      {"12345", "abcdefghi", UserPageField::Password, "", "ERROR: Invalid password"},
  };
  for (const auto& c : cases) {
    messages_->clear();
    LoginRecord login;
    EXPECT_EQ(c.field, ApplyUserPage(login, c.user, c.password, 0)) << c.user << "/" << c.password;
    EXPECT_EQ(c.login, login.userNumber);
    if (c.message == nullptr) {
      EXPECT_TRUE(messages_->shown().empty());
      EXPECT_EQ(c.password, login.password);
    } else {
      ASSERT_EQ(1u, messages_->shown().size());
      EXPECT_EQ(c.message, messages_->shown()[0].text);
      EXPECT_EQ("Error", messages_->shown()[0].caption);
    }
  }
  LoginRecord login;
  ApplyUserPage(login, "x", "abcdefgh", kWizardFrench);
  EXPECT_EQ("Erreur", messages_->shown().back().caption);
  EXPECT_EQ("ERREUR : Nom d'utilisateur non valide", messages_->shown().back().text);
}

TEST_F(WizardTest, FormatCaptionsFollowTheLanguage) {
  EXPECT_EQ("Ascii: &comma delimited (YYYYMMDD)", WizardFormatCaption(2015, 0));
  EXPECT_EQ("Ascii: &comma delimited (JJJJMMDD)", WizardFormatCaption(2015, 1));
  EXPECT_EQ("&Ascii: tab delimited (AAMMJJ)", WizardFormatCaption(2009, 2));
  EXPECT_EQ("A&nder formaat", WizardFormatCaption(645, 1));
  EXPECT_EQ("Aut&re format", WizardFormatCaption(645, 2));
  EXPECT_EQ("MetaStock", WizardFormatName(4, 0));
  EXPECT_EQ(11u, WizardFormats().size());
  EXPECT_EQ((std::vector<int>{0, 4, 15, 21}), WizardSetupFormats({2021, 645, 2004, 2015, 2000}));
}

TEST_F(WizardTest, PageFlowWithBackOnTheFirstSetupPage) {
  WizardFlow flow;
  EXPECT_FALSE(flow.hasBack());
  flow.back();
  EXPECT_EQ(WizardPage::Language, flow.page());
  flow.next();
  flow.next();
  ASSERT_EQ(WizardPage::Formats, flow.page());
  flow.setTicked(2015, true);
  flow.setTicked(2004, true);
  flow.setTicked(645, true);
  flow.next();
  EXPECT_EQ(4, flow.setupFormatId());
  flow.back();
  EXPECT_EQ(WizardPage::Formats, flow.page());
  EXPECT_TRUE(flow.ticked(2015) && flow.ticked(2004) && flow.ticked(645));
  EXPECT_FALSE(flow.ticked(2009));
  flow.next();
  flow.next();
  EXPECT_EQ(15, flow.setupFormatId());
  EXPECT_FALSE(flow.next());
  EXPECT_TRUE(flow.isFinish());
  EXPECT_FALSE(flow.hasCancel());
  flow.back();
  EXPECT_EQ(15, flow.setupFormatId());
  flow.next();
  EXPECT_TRUE(flow.next());
}

TEST_F(WizardTest, DefaultDirectoriesOnDriveCAndInTheProgramDirectory) {
  EXPECT_EQ(home_.path() + "Equis/Data/", WizardDefaultDirectory(4, "/prog/"));
  EXPECT_EQ(home_.path() + "Equis/Data/intraday", WizardDefaultDirectory(20, "/prog/"));
  EXPECT_EQ("/prog/koersen/", WizardDefaultDirectory(15, "/prog/"));
  EXPECT_EQ("/prog/Intraday/", WizardDefaultDirectory(21, "/prog/"));
  // A missing directory holds no format: proposed; Orvista only with its data.
  EXPECT_EQ(home_.path() + "kb2/koersen/", WizardProposedDirectory(6, "/prog/"));
  EXPECT_EQ("", WizardProposedDirectory(16, "/prog/"));
}

TEST_F(WizardTest, TypedDirectoryNames) {
  std::string path;
  const struct {
    const char* typed;
    bool valid;
    std::string path;
  } cases[] = {
      {"data", true, home_.path() + "data/"},
      {"data\\ms", true, home_.path() + "data/ms/"},
      {"c:data", true, home_.path() + "data/"},
      {"C:\\Equis\\Data", true, home_.path() + "Equis/Data/"},
      {"/srv/charts", true, "/srv/charts/"},
      {"d:\\data", false, ""},
      {"a\tb", false, ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(c.valid, WizardDirectoryPath(c.typed, path)) << c.typed;
    EXPECT_EQ(c.path, path) << c.typed;
  }
}

TEST_F(WizardTest, AddABareNameCreatesItOnDriveC) {
  std::vector<std::string> chosen;
  messages_->answerNext(true);
  EXPECT_EQ(AddResult::Added, AddWizardDirectory(chosen, "koersen", 15, 0));
  ASSERT_EQ(1u, chosen.size());
  EXPECT_EQ(home_.path() + "koersen/", chosen[0]);
  EXPECT_TRUE(platform::DirectoryExists(chosen[0]));
  // Empty text and a directory already listed (in another case) are ignored.
  EXPECT_EQ(AddResult::Ignored, AddWizardDirectory(chosen, "  ", 15, 0));
  EXPECT_EQ(AddResult::Ignored, AddWizardDirectory(chosen, "KOERSEN", 15, 0));
  EXPECT_EQ(1u, chosen.size());
  ASSERT_EQ(1u, messages_->shown().size());  // the question only
  EXPECT_EQ("Directory " + chosen[0] + " does not exist. Create it now?", messages_->shown()[0].text);
}

TEST_F(WizardTest, AddMessages) {
  home_.write("afile", "x");
  const std::string ms = MetastockDirectory("ms");
  platform::MakeDirectories(home_.path() + "empty/");
  const struct {
    const char* typed;
    int formatId;
    bool answer;
    AddResult result;
    std::string message;
  } cases[] = {
      {"d:\\x", 15, false, AddResult::Refused, "ERROR: d:\\x is not a valid directory name"},
      {"missing", 15, false, AddResult::Refused,
       "Directory " + home_.path() + "missing/ does not exist. Create it now?"},  // answered No
      {"afile", 15, false, AddResult::Refused, "ERROR: " + home_.path() + "afile/ exists and is not a directory"},
      {"ms", 15, false, AddResult::Refused, "ERROR: " + ms + " already holds a different format"},
      {"ms", 9, false, AddResult::Refused, "ERROR: " + ms + " already holds a different format"},
      {"ms", 4, false, AddResult::Added, ""},
      {"missing", 16, false, AddResult::Refused, "ERROR: Directory " + home_.path() + "missing/ does not exist"},
      {"empty", 16, false, AddResult::Refused, "ERROR: " + home_.path() + "empty/ does not contain this format"},
      {"ms", 16, false, AddResult::Refused, "ERROR: " + ms + " contains a different format"},
  };
  for (const auto& c : cases) {
    messages_->clear();
    std::vector<std::string> chosen;
    if (c.answer) messages_->answerNext(true);
    EXPECT_EQ(c.result, AddWizardDirectory(chosen, c.typed, c.formatId, 0)) << c.typed << " " << c.formatId;
    if (c.message.empty()) {
      EXPECT_TRUE(messages_->shown().empty()) << messages_->shown()[0].text;
    } else {
      ASSERT_EQ(1u, messages_->shown().size()) << c.typed;
      EXPECT_EQ(c.message, messages_->shown()[0].text);
    }
  }
  EXPECT_FALSE(platform::DirectoryExists(home_.path() + "missing/"));
}

TEST_F(WizardTest, OrvistaProgramFolderFoundRegardlessOfCase) {
  const std::string folder = home_.path() + "Program Files/Orvista2000/";
  platform::MakeDirectories(folder);
  EXPECT_EQ("", WizardProposedProgramFolder());
  testing::WriteFileBytes(folder + "ORVISTA2000.EXE", "");
  EXPECT_EQ(home_.path() + "Program Files/Orvista2000", WizardProposedProgramFolder());

  const std::string other = home_.path() + "o2k/";
  platform::MakeDirectories(other);
  testing::WriteFileBytes(other + "ORVIST~1.EXE", "");
  EXPECT_TRUE(HoldsOrvistaProgram(other));

  Formats formats;
  EXPECT_FALSE(ApplyWizardSetupPage(formats, 16, {}, "elsewhere", 1));
  ASSERT_EQ(1u, messages_->shown().size());
  EXPECT_EQ("Fout", messages_->shown()[0].caption);
  EXPECT_EQ("FOUT: Het programma Orvista 2000 is niet gevonden in de opgegeven directory",
            messages_->shown()[0].text);
  EXPECT_TRUE(ApplyWizardSetupPage(formats, 16, {}, "o2k", 1));
  EXPECT_EQ(home_.path() + "o2k", std::string(profile().getString("orvista2kpath", "")));
}

TEST_F(WizardTest, SetupNextAddsTheDirectoriesThatStillPass) {
  Formats formats;
  MergeFormatTable(formats);
  const std::string ms = MetastockDirectory("ms");
  const std::string ascii = home_.path() + "ascii/";
  platform::MakeDirectories(ascii);
  ASSERT_TRUE(ApplyWizardSetupPage(formats, 15, {ascii, ms}, "", 0));
  Format* format = formats.findById(15);
  ASSERT_EQ(1, format->directoryCount());
  EXPECT_EQ(ascii, format->currentDirectory()->name());
  EXPECT_EQ(format, formats.current());
}

TEST_F(WizardTest, SearchRunsInSlicesAndResumesAfterAHit) {
  const std::string a = MetastockDirectory("a/deep");
  const std::string b = MetastockDirectory("b");
  platform::MakeDirectories(home_.path() + "c/d/e/");
  WizardSearch search(home_.path(), 4, WizardSearch::Target::FormatDirectories);
  std::vector<std::string> found;
  int slices = 0;
  for (;;) {
    WizardSearch::Slice slice = search.run(1);
    ++slices;
    if (slice.state == WizardSearch::State::Found) found.push_back(slice.directory);
    if (slice.state == WizardSearch::State::Finished) break;
    ASSERT_LT(slices, 100);
  }
  EXPECT_EQ((std::vector<std::string>{a, b}), found);
  EXPECT_GE(slices, 7);  // every directory is one slice here
  EXPECT_TRUE(search.finished());
  EXPECT_FALSE(WizardHasSearch(15));
  EXPECT_TRUE(WizardHasSearch(16));
}

}  // namespace
}  // namespace kvqt
