// The file manager's Delete and Open over a MetaStock directory written by the
// format drivers.
#include "maintenance/file_manager_actions.h"

#include <gtest/gtest.h>

#include "app/core/logs.h"
#include "app/core/messages.h"
#include "maintenance_test_util.h"
#include "support/temp_dir.h"

namespace kvqt {
namespace {

using testing::Days;
using testing::Model;
using testing::RecordingView;
using testing::ScopedView;
using testing::TempDir;
using testing::WriteInstrument;

constexpr int kMetastock = 4;

class FileManagerActionsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Logs::SetDirectory(logs.path());
    for (const char* symbol : {"AAA", "BBB", "CCC", "DDD"}) {
      WriteInstrument(dir.path(), kMetastock, symbol, Days(3, 10, 100), std::string(symbol) + " Corp");
      model.add(symbol, std::string(symbol) + " Corp", 3);
    }
  }
  void TearDown() override { Logs::SetDirectory(""); }

  bool InMaster(const char* symbol) {
    DatafileEntry entry;
    return FindEntry(symbol, entry, kMetastock, dir.path()) == 0;
  }

  TempDir dir;
  TempDir logs;
  ScopedMessages messages;
  Model model{kMetastock, dir.path()};
};

TEST_F(FileManagerActionsTest, DeleteTakesTheEntriesFromMasterAndDirectoryWithoutAQuestion) {
  Directory& directory = *model.directory;
  EXPECT_EQ(2, DeleteInstruments(model.format, directory, {directory.at(1), directory.at(3)}));
  EXPECT_EQ(2, directory.size());
  EXPECT_EQ("AAA", directory.at(0)->symbol());
  EXPECT_EQ("CCC", directory.at(1)->symbol());
  EXPECT_TRUE(InMaster("AAA"));
  EXPECT_FALSE(InMaster("BBB"));
  EXPECT_TRUE(InMaster("CCC"));
  EXPECT_FALSE(InMaster("DDD"));
  EXPECT_TRUE(messages.get().shown().empty());
}

TEST_F(FileManagerActionsTest, ADataFileNotInTheMasterStays) {
  Directory& directory = *model.directory;
  Datafile& stray = model.add("EEE", "EEE Corp", 0);
  Datafile outside("FFF", "FFF Corp", kMetastock, 30);
  EXPECT_EQ(1, DeleteInstruments(model.format, directory, {&stray, &outside, directory.at(0)}));
  EXPECT_EQ(4, directory.size());
  EXPECT_NE(nullptr, directory.bySymbol("EEE"));
  EXPECT_EQ(nullptr, directory.bySymbol("AAA"));
}

TEST_F(FileManagerActionsTest, OpenReturnsTheDataFileTheDataManagerEndsWith) {
  RecordingView view;
  ScopedView installed(view);
  Directory& directory = *model.directory;
  EXPECT_EQ(directory.at(1), OpenInstrument(model.format, directory, *directory.at(1)));
  ASSERT_EQ(1u, view.shown.size());
  EXPECT_EQ("BBB", view.shown[0].symbol);
  EXPECT_EQ(3, view.shown[0].count);

  // Saved under another name: a new Datafile stands in the old one's place.
  view.act = [](DataManager& manager) {
    ASSERT_EQ(0, manager.saveAndClose("Beta Corp", "BETA", manager.factorText()));
  };
  messages.get().answerNext(true);
  Datafile* renamed = OpenInstrument(model.format, directory, *directory.bySymbol("BBB"));
  ASSERT_NE(nullptr, renamed);
  EXPECT_EQ("BETA", renamed->symbol());
  EXPECT_EQ("Beta Corp", renamed->name());
  EXPECT_EQ(renamed, directory.bySymbol("BETA"));
  // The view in use before is back.
  EXPECT_EQ(&view, &dataManagerView());
}

}  // namespace
}  // namespace kvqt
