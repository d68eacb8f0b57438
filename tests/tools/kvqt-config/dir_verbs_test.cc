// kvqt-config add-dir: the directory editor's checks, and the demo's set-up
// from an empty program directory.
#include "kvqt-config/dir_verbs.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include "app/application.h"
#include "app/datafile/login_record.h"
#include "config_run.h"
#include "formats/datafile_entry.h"
#include "formats/format_driver.h"
#include "platform/path.h"
#include "support/hex.h"

namespace kvqt::config {
namespace {

using testing::Hex;
using testing::Le16;
using testing::Le32;
using testing::Padded;
using testing::ToHex;

class DirVerbsTest : public ConfigTest {
 protected:
  // A chart directory of the format id holding the instruments.
  std::string ChartDirectory(const std::string& name, int formatId, std::vector<std::string> symbols) {
    std::string path = data.path() + name + "/";
    EXPECT_TRUE(platform::MakeDirectories(path));
    for (const std::string& symbol : symbols) {
      DatafileEntry entry;
      EXPECT_EQ(1, CreateEntry(symbol, symbol + " Corp", 0, entry, formatId, path));
    }
    return path;
  }

  std::vector<std::string> DirectoriesOf(const Format* format) {
    std::vector<std::string> names;
    for (int i = 0; format && i < format->directoryCount(); ++i) names.push_back(format->directoryAt(i)->name());
    return names;
  }
};

TEST_F(DirVerbsTest, TheDemoSetUpWorksFromAnEmptyProgramDirectory) {
  const std::string d = home.path();
  std::vector<std::vector<std::string>> runs = {
      {"user", "demo0vqx", "demopass"},
      {"server", "127.0.0.1:40123"},
      {"add-dir", "MS", d + "ms"},
      {"add-dir", "ASC", d + "asc"},
  };
  for (const auto& args : runs) {
    ConfigRun run = Config(args);
    ASSERT_EQ(0, run.rc) << args[0] << ": " << run.err;
    EXPECT_EQ("", run.err);
  }
  EXPECT_TRUE(platform::DirectoryExists(d + "ms"));
  EXPECT_TRUE(platform::DirectoryExists(d + "asc"));

  SavedData saved;
  ReadSaved(saved);
  ASSERT_EQ(0, saved.rc);
  EXPECT_EQ("127.0.0.1 40123", saved.userInfo.NetworkDestination);
  EXPECT_EQ(std::vector<std::string>{d + "ms/"}, DirectoriesOf(saved.formats.findBySymbol("MS")));
  EXPECT_EQ(std::vector<std::string>{d + "asc/"}, DirectoriesOf(saved.formats.findBySymbol("ASC")));
  // The last directory added is current, with its format.
  ASSERT_NE(nullptr, saved.formats.current());
  EXPECT_EQ("ASC", saved.formats.current()->symbol());
  EXPECT_EQ(d + "asc/", saved.formats.current()->currentDirectory()->name());

  LoginRecord login;
  ASSERT_EQ(0, ReadLoginFile(home.file("kvqt.prs"), login));
  EXPECT_EQ("demo0vqx", login.userNumber);
  EXPECT_EQ("demopass", login.password);

  // With both files there, the program runs its command line instead of the first-run window.
  Application program({"-nowindow", "-download"});
  EXPECT_EQ(0, program.start(d));
  EXPECT_FALSE(program.interactive());
  EXPECT_FALSE(program.needsWizard());
  EXPECT_EQ("ASC", program.formats().current()->symbol());
}

TEST_F(DirVerbsTest, AddingTheSameDirectoryAgainKeepsOneEntry) {
  const std::string asc = data.path() + "asc";
  ASSERT_EQ(0, Config({"add-dir", "ASC", asc}).rc);
  // With a trailing separator, through "." and "..", by id, the symbol in small letters.
  for (const std::string& again : {asc + "/", data.path() + "./x/../asc", std::string(asc)}) {
    ConfigRun run = Config({"add-dir", "asc", again});
    ASSERT_EQ(0, run.rc) << run.err;
    EXPECT_NE(std::string::npos, run.out.find("is already in format ASC")) << run.out;
  }
  ASSERT_EQ(0, Config({"add-dir", "5", asc}).rc);

  SavedData saved;
  ReadSaved(saved);
  EXPECT_EQ(std::vector<std::string>{asc + "/"}, DirectoriesOf(saved.formats.findBySymbol("ASC")));
}

TEST_F(DirVerbsTest, AMetastockDirectoryIsRefusedForAnAsciiFormat) {
  const std::string ms = ChartDirectory("ms", 4, {"AAA"});
  ConfigRun run = Config({"add-dir", "ASC", ms});
  EXPECT_EQ(1, run.rc);
  EXPECT_EQ("kvqt-config: " + ms + ": Directory contains datafiles of another format:\nMetastock\n", run.err);
  EXPECT_EQ("", run.out);
  // Nothing was saved.
  EXPECT_FALSE(home.exists("kvqt.dat"));
  EXPECT_FALSE(home.exists("kvqt.prs"));
}

TEST_F(DirVerbsTest, TheEditorsMessagesForDirectoriesThatDoNotFit) {
  // An older ASCII index: 22-byte records, no header.
  const std::string former = data.path() + "former/";
  ASSERT_TRUE(platform::MakeDirectories(former));
  testing::WriteFileBytes(former + "master.kvq",
                          Padded("ABC", 9) + Hex("00") + Le32(20000103) + Le32(20000110) + Le16(6) + Hex("00 00"));
  const std::string plain = data.path() + "plain";
  testing::WriteFileBytes(plain, "not a directory");

  struct Case {
    const char* format;
    std::string directory;
    std::string message;
  } cases[] = {
      {"MSI", ChartDirectory("daily", 4, {"AAA"}), "Directory contains datafiles of another format:\nMetastock"},
      {"ASCYYYY", ChartDirectory("asc", 5, {"AAA"}),
       "Directory contains datafiles of another format:\nAscii: Comma Delimited"},
      {"TI", ChartDirectory("asc2", 5, {"AAA"}),
       "Directory contains datafiles of another format:\nAscii: Comma Delimited"},
      // Only the ASCII formats can take an older ASCII index over.
      {"MS", former, "Directory contains former ascii datafiles"},
      {"ASC", plain + "/", "ERROR: " + plain + " exists and is not a directory"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.format);
    ConfigRun run = Config({"add-dir", c.format, c.directory});
    EXPECT_EQ(1, run.rc);
    EXPECT_EQ("kvqt-config: " + c.directory + ": " + c.message + "\n", run.err);
  }
  EXPECT_FALSE(home.exists("kvqt.dat"));
}

TEST_F(DirVerbsTest, AnOlderAsciiIndexIsConvertedOnlyWhenAsked) {
  const std::string former = data.path() + "former/";
  ASSERT_TRUE(platform::MakeDirectories(former));
  const std::string old = Padded("ABC", 9) + Hex("00") + Le32(20000103) + Le32(20000110) + Le16(6) + Hex("00 00");
  testing::WriteFileBytes(former + "master.kvq", old);

  ConfigRun refused = Config({"add-dir", "ASC", former});
  EXPECT_EQ(1, refused.rc);
  EXPECT_EQ("kvqt-config: " + former +
                ": Ascii Masterfile will be converted. It can no longer be used with the DOS Korvane! Convert???\n"
                "kvqt-config: nothing was added; --convert answers Yes\n",
            refused.err);
  EXPECT_EQ(ToHex(old), ToHex(testing::ReadFileBytes(former + "master.kvq")));

  ConfigRun converted = RunConfig({"--dir", home.path(), "--convert", "add-dir", "ASC", former});
  ASSERT_EQ(0, converted.rc) << converted.err;
  EXPECT_NE(std::string::npos, converted.out.find("converted the Ascii Masterfile of " + former));
  // The index now has its header (four bytes 20, the format id at 30); the old one is kept.
  std::string index = testing::ReadFileBytes(former + "master.kvq");
  ASSERT_GE(index.size(), 91u);
  EXPECT_EQ(ToHex(Hex("14 14 14 14")), ToHex(index.substr(0, 4)));
  EXPECT_EQ(5, index[30]);
  EXPECT_EQ(ToHex(old), ToHex(testing::ReadFileBytes(former + "master.old")));
}

TEST_F(DirVerbsTest, RelativeDirectoriesAreTakenFromTheCurrentDirectoryWithTheirSpelling) {
  char previous[4096];
  ASSERT_NE(nullptr, ::getcwd(previous, sizeof previous));
  ASSERT_EQ(0, ::chdir(data.path().c_str()));
  ConfigRun run = Config({"add-dir", "ASC", "Quotes/ASC"});
  ASSERT_EQ(0, ::chdir(previous));
  ASSERT_EQ(0, run.rc) << run.err;
  EXPECT_TRUE(platform::DirectoryExists(data.path() + "Quotes/ASC"));

  SavedData saved;
  ReadSaved(saved);
  EXPECT_EQ(std::vector<std::string>{data.path() + "Quotes/ASC/"}, DirectoriesOf(saved.formats.findBySymbol("ASC")));
}

TEST_F(DirVerbsTest, FormatsThatCannotTakeADirectory) {
  struct Case {
    const char* format;
    const char* message;
  } cases[] = {
      {"NOSUCH", "kvqt-config: no format NOSUCH (kvqt-config show lists the formats)\n"},
      {"12", "kvqt-config: no format 12 (kvqt-config show lists the formats)\n"},
      {"pel", "kvqt-config: format PEL (Pelto) is an output format only and has no directories\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.format);
    ConfigRun run = Config({"add-dir", c.format, data.path() + "x"});
    EXPECT_EQ(1, run.rc);
    EXPECT_EQ(c.message, run.err);
  }
  EXPECT_FALSE(platform::DirectoryExists(data.path() + "x"));
}

}  // namespace
}  // namespace kvqt::config
