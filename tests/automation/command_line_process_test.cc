// The real kvqt started with each option of its command line, without a
// display: the exit code, what it says on standard error, and what it did to
// the chart directories and its own files. Each test has its own program,
// settings and runtime directories.
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <memory>
#include <string>
#include <vector>

#include "app/datafile/login_record.h"
#include "app/datafile/program_data_file.h"
#include "app/model/directory.h"
#include "app/model/format_table.h"
#include "app/model/formats.h"
#include "formats/format_driver.h"
#include "formats/format_test_util.h"
#include "support/temp_dir.h"
#include "updater/child_process.h"

namespace kvqt {
namespace {

using kvqt::testing::ChildProcess;
using kvqt::testing::Daily;
using kvqt::testing::TempDir;
using namespace std::chrono_literals;

constexpr int kMetaStock = 4;

// A loopback port that nobody listens on: the download is refused at once.
int ClosedPort() {
  int fd = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t size = sizeof address;
  int port = 1;
  if (::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
      ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &size) == 0) {
    port = ntohs(address.sin_port);
  }
  ::close(fd);
  return port;
}

struct Outcome {
  int code = -1;
  std::string err;
};

class CommandLineProcessTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ::chmod(runtime_.path().c_str(), 0700);
    // The MetaStock format has two directories; the first is current.
    Formats formats;
    MergeFormatTable(formats);
    Format* ms = formats.findById(kMetaStock);
    ms->addDirectory(std::make_unique<Directory>(charts_.path(), kMetaStock));
    ms->addDirectory(std::make_unique<Directory>(other_.path(), kMetaStock));
    ms->setCurrentDirectory(charts_.path());
    formats.setCurrentById(kMetaStock);
    UserInfo user;
    user.NetworkDestination = "127.0.0.1 " + std::to_string(ClosedPort());
    home_.write("kvqt.dat", EncodeProgramDataFile(user, formats));
    LoginRecord login;
    login.userNumber = "12345vqx";
    login.password = "secret12";
    ASSERT_EQ(WriteLoginFile(home_.file("kvqt.prs"), login), 0);
    ::mkdir(home_.file("Tasks").c_str(), 0755);
    ::mkdir(home_.file("Out").c_str(), 0755);
  }

  Outcome Start(const std::vector<std::string>& args) {
    std::unique_ptr<ChildProcess> child = Launch(args);
    Outcome run;
    run.code = child->wait(20s);
    run.err = logs_.read("stderr");
    return run;
  }

  // Started, not waited for.
  std::unique_ptr<ChildProcess> Launch(const std::vector<std::string>& args) {
    ChildProcess::Options options;
    // Relative file arguments are taken from here, where the program starts.
    options.workingDirectory = home_.path();
    options.environment = {
        {"KVQT_HOME", home_.path()},         {"XDG_RUNTIME_DIR", runtime_.path()},
        {"XDG_CONFIG_HOME", config_.path()}, {"XDG_DATA_HOME", config_.file("data")}, {"KVQT_EDITOR", ""},
        {"QT_QPA_PLATFORM", ""},             {"DISPLAY", ""},
        {"WAYLAND_DISPLAY", ""},
    };
    options.stdoutFile = logs_.file("stdout");
    options.stderrFile = logs_.file("stderr");
    std::vector<std::string> argv{KVQT_PATH};
    argv.insert(argv.end(), args.begin(), args.end());
    return std::make_unique<ChildProcess>(argv, options);
  }

  void Settings(const std::string& lines) {
    ::mkdir(config_.file("kvqt").c_str(), 0755);
    config_.write("kvqt/kvqt.ini", "[configure]\n" + lines);
  }

  // An instrument of the chart directory with the given days of January 2004.
  void Instrument(const std::string& symbol, std::vector<PriceRecord> records = {}) {
    DatafileEntry entry;
    ASSERT_EQ(CreateEntry(symbol, symbol + " Inc", 0, entry, kMetaStock, charts_.path()), 1);
    if (!records.empty()) {
      ASSERT_EQ(testing::AppendRecords(charts_.path(), kMetaStock, entry, records), 0);
    }
  }

  static DatafileEntry Entry(const TempDir& dir, const std::string& symbol) {
    DatafileEntry entry;
    EXPECT_EQ(FindEntry(symbol, entry, kMetaStock, dir.path(), kScanReadHeader), 0) << symbol;
    return entry;
  }

  std::string Arg(const TempDir& dir) const { return dir.path(); }

  TempDir home_;
  TempDir config_;
  TempDir runtime_;
  TempDir logs_;
  TempDir charts_;
  TempDir other_;
};

TEST_F(CommandLineProcessTest, EachRefusedCommandLineEndsNonZeroWithItsMessage) {
  home_.write("Result.DAT", "AAA,20040102,1500,10,11,9,10.5\r\n");
  const std::string query = "usage: -query format [directory [definitionfile outputformat outputfile]]\n";
  struct {
    std::vector<std::string> args;
    int code;
    std::string err;
  } cases[] = {
      {{"-nowindow"}, 0, ""},
      {{"-nowindow", "Tasks/Nightly.TSK", "-nowindow"}, 1, "Tasks/Nightly.TSK\n"},
      {{"-nowindow", "-Bogus", "ms"}, 1, "-Bogus\n"},
      {{"-nowindow", "Tasks/Missing.TSK"}, 1, "Error opening task file " + home_.file("Tasks/Missing.TSK") + "\n"},
      {{"-add2master"}, 1, "Error opening task file -add2master\n"},
      {{"-insnames"}, 1, "Unknown format or no directory specified\n"},
      {{"-inssymbols", "Names.TXT", "/no/such/dir"}, 1, "Unknown format or no directory specified\n"},
      {{"-datafile", "Result.DAT"}, 1, "usage: -datafile file format [directory]\n"},
      {{"-datafile", "Missing.DAT", "MS"}, 1, "File not found: " + home_.file("Missing.DAT") + "\n"},
      {{"-datafile", "Result.DAT", "XYZ"}, 1, "Invalid format: XYZ\n"},
      {{"-datafile", "Result.DAT", "ms", "/no/such/dir"}, 1, "Invalid directory: /no/such/dir\n"},
      {{"-query"}, 1, query},
      {{"-query", "ms", Arg(charts_), "Def.TXT", "ASC"}, 1, query},
      {{"-query", "ms"}, 1, "Request file not found\n"},
      {{"-query", "XYZ", Arg(charts_), "Def.TXT", "ASC", "Out.TXT"}, 1, "Unknown format or no directory specified\n"},
      {{"-printlist", "XYZ", "all"}, 1, ""},
      {{"-PrintList", "ms", "all"}, 1, "Option not yet implemented\n"},
      {{"-add2master", "Names.TXT", "XYZ", Arg(charts_)}, 1, "Unknown format specified\n"},
      {{"-addsymbols", "Names.TXT", "4", "/no/such/dir", "20240102"}, 1, "Unknown directory specified\n"},
      {{"-definitionfile", "Def.TXT", "XYZ", "Out.TXT"}, 1, "Unknown format\n"},
  };
  for (const auto& c : cases) {
    std::string trace;
    for (const std::string& a : c.args) trace += a + " ";
    SCOPED_TRACE(trace);
    const Outcome run = Start(c.args);
    EXPECT_EQ(run.code, c.code);
    EXPECT_EQ(run.err, c.err);
  }
  // Nothing was imported or created on the way.
  EXPECT_FALSE(home_.exists("sksdat.dat"));
  EXPECT_FALSE(home_.exists("Out.TXT"));
  EXPECT_FALSE(charts_.exists("MASTER"));
}

TEST_F(CommandLineProcessTest, DataFileIsImportedIntoTheDirectory) {
  Instrument("AAA");
  Instrument("BBB");
  ::mkdir(home_.file("Prices").c_str(), 0755);
  home_.write("Prices/Result.DAT",
              "AAA,20040102,1500,10,11,9,10.5\r\n"
              "AAA,20040105,1200,10.5,12,10,11.75\r\n");
  Outcome run = Start({"-nowindow", "-DataFile", "Prices/Result.DAT", "ms", Arg(charts_)});
  EXPECT_EQ(run.code, 0) << run.err;
  EXPECT_EQ(run.err, "");
  const std::vector<PriceRecord> records = testing::ReadAll(charts_.path(), kMetaStock, Entry(charts_, "AAA"));
  ASSERT_EQ(records.size(), 2u);
  EXPECT_EQ(records[0].date.value(), 20040102);
  EXPECT_FLOAT_EQ(records[1].close, 11.75f);

  // By id into the current directory, the file named in other letters.
  home_.write("Prices/Result.DAT", "BBB,20040106,800,11,12,10,11.5\r\n");
  run = Start({"-datafile", "prices/RESULT.dat", "4"});
  EXPECT_EQ(run.code, 1) << "the directory part is a path as given";
  EXPECT_EQ(run.err, "File not found: " + home_.file("prices/RESULT.dat") + "\n");
  run = Start({"-datafile", "Prices/RESULT.dat", "4"});
  EXPECT_EQ(run.code, 0) << run.err;
  ASSERT_EQ(testing::ReadAll(charts_.path(), kMetaStock, Entry(charts_, "BBB")).size(), 1u);
}

TEST_F(CommandLineProcessTest, QueryWritesTheOutputFileUnderItsOwnName) {
  Instrument("AAA", {Daily(Date(2004, 1, 2), 10, 11, 9, 10.5f, 1500), Daily(Date(2004, 1, 5), 10.5f, 12, 10, 11.75f, 1200)});
  ::mkdir(home_.file("Requests").c_str(), 0755);
  home_.write("Requests/Def.TXT", "AAA,20040105,20041231\r\n");
  Outcome run = Start({"-nowindow", "-query", "MS", Arg(charts_), "Requests/Def.TXT", "asc", "Out/Query.CSV"});
  EXPECT_EQ(run.code, 0) << run.err;
  EXPECT_EQ(run.err, "");
  // Symbol, date, volume, open, high, low, close; the day before the start left out.
  EXPECT_EQ(home_.read("Out/Query.CSV"), "AAA,040105,1200,10.500,12.000,10.000,11.750\r\n");
  EXPECT_FALSE(home_.exists("out/query.csv"));

  // The short form reads query.dat and writes sksdat.dat, both in the program directory.
  home_.write("query.dat", "AAA,20040101,20040102\r\n");
  run = Start({"-query", "4"});
  EXPECT_EQ(run.code, 0) << run.err;
  EXPECT_EQ(home_.read("sksdat.dat"), "AAA,040102,1500,10.000,11.000,9.000,10.500\r\n");
}

TEST_F(CommandLineProcessTest, TickerNamesFilesAddAndRenameInstruments) {
  Instrument("AAA");
  home_.write("Names.TXT", "NEW1|New One|20240105\r\nNEW2|New Two\r\n");
  Outcome run = Start({"-nowindow", "-add2master", "Names.TXT", "ms", Arg(charts_), "20240102"});
  EXPECT_EQ(run.code, 0) << run.err;
  EXPECT_EQ(Entry(charts_, "NEW1").name, "New One");
  EXPECT_EQ(Entry(charts_, "NEW1").firstDate.value(), 20240105);
  EXPECT_EQ(Entry(charts_, "NEW2").firstDate.value(), 20240102);

  home_.write("Symbols.TXT", "SYM1\r\nSYM2  \r\n");
  run = Start({"-AddSymbols", "Symbols.TXT", "MS", Arg(charts_)});
  EXPECT_EQ(run.code, 0) << run.err;
  EXPECT_EQ(Entry(charts_, "SYM1").name, "SYM1");
  EXPECT_EQ(Entry(charts_, "SYM2").name, "SYM2");
  EXPECT_FALSE(Entry(charts_, "SYM2").firstDate.isNull());  // today's

  home_.write("Renames.TXT", "AAA,Alpha Corporation\r\n");
  run = Start({"-insnames", "Renames.TXT", Arg(charts_)});
  EXPECT_EQ(run.code, 0) << run.err;
  EXPECT_EQ(Entry(charts_, "AAA").name, "Alpha Corporation");
  run = Start({"-inssymbols", "Renames.TXT"});  // the current directory of the MetaStock format
  EXPECT_EQ(run.code, 0) << run.err;
  EXPECT_EQ(Entry(charts_, "AAA").name, "AAA");

  // The file's own message, once, and a failed run.
  run = Start({"-insnames", "Missing.TXT", Arg(charts_)});
  EXPECT_EQ(run.code, 1);
  const std::string text = "Error opening ticker/names file";
  const std::size_t at = run.err.find(text);
  EXPECT_NE(at, std::string::npos) << run.err;
  EXPECT_EQ(run.err.find(text, at + 1), std::string::npos) << run.err;
}

TEST_F(CommandLineProcessTest, TaskFileWithCapitalsInItsPathRuns) {
  home_.write("Tasks/Nightly.TSK", "CD 4 " + other_.path() + "\r\n");
  const Outcome run = Start({"-nowindow", "-NOWINDOW", "Tasks/Nightly.TSK"});
  EXPECT_EQ(run.code, 0) << run.err;
  EXPECT_NE(home_.read("kvqt.rpt").find("Task file finished"), std::string::npos) << home_.read("kvqt.rpt");
  // The task's CD made the other directory current, and the exit saved it.
  UserInfo user;
  Formats formats;
  ASSERT_EQ(ReadProgramDataFile(home_.file("kvqt.dat"), {}, user, formats), 0);
  ASSERT_NE(formats.findById(kMetaStock)->currentDirectory(), nullptr);
  EXPECT_EQ(formats.findById(kMetaStock)->currentDirectory()->name(), other_.path());
}

TEST_F(CommandLineProcessTest, DefinitionFileStartsADownloadWithThatRequest) {
  home_.write("input.dat", "AAA,20040101,20041231\r\n");
  Outcome run = Start({"-nowindow", "-definitionfile"});
  EXPECT_EQ(run.code, 1);
  EXPECT_NE(run.err.find("Unable to connect (10061"), std::string::npos) << run.err;
  EXPECT_NE(home_.read("query.dat").find("AAA,20040101,20041231\r\n"), std::string::npos) << home_.read("query.dat");

  home_.write("Tasks/Mine.DEF", "BBB,20040101,20041231\r\n");
  run = Start({"-DefinitionFile", "Tasks/Mine.DEF", "ms", "Out/Prices.TXT"});
  EXPECT_NE(run.err.find("Unable to connect"), std::string::npos) << run.err;
  EXPECT_NE(home_.read("query.dat").find("BBB,20040101,20041231\r\n"), std::string::npos) << home_.read("query.dat");

  Settings("outputformat=NOPE\n");
  run = Start({"-definitionfile"});
  EXPECT_EQ(run.code, 1);
  EXPECT_EQ(run.err, "Unknown format\n");
}

TEST_F(CommandLineProcessTest, InterruptAndTerminateCancelTheRunAndStillSave) {
  const struct {
    int signal;
    int code;
    std::string directory;  // made current by the task before its wait
  } cases[] = {{SIGINT, 130, other_.path()}, {SIGTERM, 143, charts_.path()}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.signal);
    home_.write("Tasks/Long.TSK", "CD 4 " + c.directory + "\r\nSLEEP 120\r\n=Execute(\"touch ran-on\")\r\n");
    // The last run's report must not pass for this one's.
    std::remove(home_.file("kvqt.rpt").c_str());
    std::unique_ptr<ChildProcess> child = Launch({"-nowindow", "Tasks/Long.TSK"});
    ASSERT_TRUE(testing::WaitUntil([&] { return home_.read("kvqt.rpt").find("Countdown") != std::string::npos; },
                                   20s));
    ASSERT_EQ(::kill(child->pid(), c.signal), 0);
    EXPECT_EQ(child->wait(20s), c.code);
    EXPECT_FALSE(home_.exists("ran-on"));
    // The exit save ran: the task's CD is in the data file.
    UserInfo user;
    Formats formats;
    ASSERT_EQ(ReadProgramDataFile(home_.file("kvqt.dat"), {}, user, formats), 0);
    ASSERT_NE(formats.findById(kMetaStock)->currentDirectory(), nullptr);
    EXPECT_EQ(formats.findById(kMetaStock)->currentDirectory()->name(), c.directory);
  }
}

}  // namespace
}  // namespace kvqt
