#include "kvqt-info/kvqt_info.h"

#include <gtest/gtest.h>

#include <sstream>

#include "support/hex.h"
#include "support/temp_dir.h"

namespace kvqt::info {
namespace {

using kvqt::testing::Hex;
using kvqt::testing::Le32;
using kvqt::testing::Padded;
using kvqt::testing::TempDir;
using namespace std::string_literals;

struct Result {
  int rc;
  std::string out;
  std::string err;
};

Result Info(std::vector<std::string> args) {
  std::ostringstream out, err;
  int rc = RunKvqtInfo(args, out, err);
  return {rc, out.str(), err.str()};
}

std::string Text(const std::string& t) { return Le32(static_cast<long>(t.size())) + t; }

// UserInfo with a destination, a download directory and a last session date.
std::string UserInfoBytes() {
  return Hex("31 44 00 | 38 44 00 | a0 0f 00 00 | a0 0f 00 00") + std::string(42, '\0') +
         Padded("quotes example", 31) + Hex("02 | 01 | 00 e1 00 00 | 01") + Padded("/home/u/dl/", 81) +
         std::string(100, '\0') + Hex("00 00") + Le32(20240105);
}

// One Metastock format with a list and a directory, and a format that keeps market numbers.
std::string DataFileBytes() {
  return ":"s + Le32(257) + Le32(30204) + UserInfoBytes() + Le32(4) + Le32(2) +
         // Metastock
         Text("MS") + Text("Metastock") + Hex("04") + Le32(0) + ",\0."s + Hex("01") + Le32(45) + Le32(1) +
         Text("My \"best\"") + Le32(0) + Le32(1) + Text("/data/ms/") + Le32(0) + Le32(2) + Le32(1) + Text("ASML") +
         Text("ASML Holding") + "D" + Le32(1) + Le32(0) + Hex("00 00 80 3f") + Le32(0) + Le32(1) +
         Text("/data/ms/") + Le32(1) + Le32(2) + Le32(2) + Text("GLE") + Text("Soci\xe9t\xe9 G\xe9n\xe9rale") + "D" +
         Le32(1) + Le32(0) + Hex("cd cc cc 3d") + Text("UNA") + Text("Unilever\tN.V.") + "D" + Le32(0) + Le32(1) +
         Hex("00 00 00 3f") +
         // the predecessor's format with market numbers
         Text("OWN") + Text("Old") + Hex("0c") + Le32(-1) + ";-,"s + Hex("00") + Le32(0) + Le32(0) + Le32(0) +
         Le32(1) + Text("/data/old/") + Le32(0) + Le32(2) + Le32(1) + Text("KLM") + Text("KLM") + Hex("07 00") + "W" +
         Le32(1) + Le32(0) + Hex("00 00 00 40");
}

const char* kExpectedDatafile =
    "version stream=257 version=30204\n"
    "userinfo savft=1D tpvft=8D savmr=4000 tpvmr=4000 telno1=\"\" telno2=\"\" NetworkDestination=\"quotes example\" "
    "connection=2 commport=1 baudrate=57600 dialtype=1 ddir=/home/u/dl/ initstring=\"\" disk=0 "
    "lastsessiondate=20240105\n"
    "current symbol=MS\n"
    "format symbol=ASC name=\"Ascii: Comma Delimited\" FormatId=5 curLi=0 curDi=0 fsep=, dsep=\"\" frsep=. "
    "formatflags=9 MaxNameLength=40 lists=0 directories=0\n"
    "format symbol=ASCYYYY name=\"Ascii: Comma Delimited (YYYYMMDD)\" FormatId=15 curLi=0 curDi=0 fsep=, dsep=\"\" "
    "frsep=. formatflags=9 MaxNameLength=40 lists=0 directories=0\n"
    "format symbol=ASC6I name=\"Ascii: Comma Delimited Intraday\" FormatId=21 curLi=0 curDi=0 fsep=, dsep=\"\" "
    "frsep=. formatflags=65 MaxNameLength=40 lists=0 directories=0\n"
    "format symbol=EXC-NL name=\"Ascii: Excel Format (YY-MM-DD 0,00)\" FormatId=10 curLi=0 curDi=0 fsep=\"\\t\" "
    "dsep=- frsep=, formatflags=9 MaxNameLength=40 lists=0 directories=0\n"
    "format symbol=EXC-UK name=\"Ascii: Excel Format (YY/MM/DD 0.00)\" FormatId=11 curLi=0 curDi=0 fsep=\"\\t\" "
    "dsep=/ frsep=. formatflags=9 MaxNameLength=40 lists=0 directories=0\n"
    "format symbol=TAB name=\"Ascii: Tab Delimited\" FormatId=9 curLi=0 curDi=0 fsep=\"\\t\" dsep=\"\" frsep=. "
    "formatflags=9 MaxNameLength=40 lists=0 directories=0\n"
    "format symbol=DAVI-IMP name=\"Davi-Effect Import\" FormatId=19 curLi=0 curDi=0 fsep=, dsep=\"\" frsep=. "
    "formatflags=40 MaxNameLength=0 lists=0 directories=0\n"
    "format symbol=HERMES name=\"Jaad Hermes\" FormatId=17 curLi=0 curDi=0 fsep=, dsep=\"\" frsep=. formatflags=1 "
    "MaxNameLength=0 lists=0 directories=0\n"
    "format symbol=HERM-ITD name=\"Jaad Hermes Intraday\" FormatId=22 curLi=0 curDi=0 fsep=, dsep=\"\" frsep=. "
    "formatflags=129 MaxNameLength=0 lists=0 directories=0\n"
    "format symbol=KB2 name=\"Jaad Koersbase II\" FormatId=6 curLi=0 curDi=0 fsep=, dsep=\"\" frsep=. formatflags=1 "
    "MaxNameLength=0 lists=0 directories=0\n"
    "format symbol=MS name=Metastock FormatId=4 curLi=0 curDi=0 fsep=, dsep=\"\" frsep=. formatflags=1 "
    "MaxNameLength=45 lists=1 directories=1\n"
    "list ListName=\"My \\\"best\\\"\" CurDir=0 directories=1\n"
    "directory list=\"My \\\"best\\\"\" DirectoryName=/data/ms/ CurDataFile=0 SelDataFile=2 entries=1\n"
    "datafile Symbol=ASML Name=\"ASML Holding\" per=D sel=1 rtflag=0 factor=1\n"
    "directory DirectoryName=/data/ms/ CurDataFile=1 SelDataFile=2 entries=2\n"
    "datafile Symbol=GLE Name=\"Soci\\351t\\351 G\\351n\\351rale\" per=D sel=1 rtflag=0 factor=0.1\n"
    "datafile Symbol=UNA Name=\"Unilever\\tN.V.\" per=D sel=0 rtflag=1 factor=0.5\n"
    "format symbol=MSI name=\"Metastock Intraday\" FormatId=20 curLi=0 curDi=0 fsep=, dsep=\"\" frsep=. "
    "formatflags=65 MaxNameLength=45 lists=0 directories=0\n"
    "format symbol=OWN name=Old FormatId=12 curLi=-1 curDi=0 fsep=; dsep=- frsep=, formatflags=0 MaxNameLength=0 "
    "lists=0 directories=1\n"
    "directory DirectoryName=/data/old/ CurDataFile=0 SelDataFile=2 entries=1\n"
    "datafile Symbol=KLM Name=KLM Market=7 per=W sel=1 rtflag=0 factor=2\n"
    "format symbol=ORV2 name=\"Orvista 2000\" FormatId=16 curLi=0 curDi=0 fsep=, dsep=\"\" frsep=. formatflags=6 "
    "MaxNameLength=0 lists=0 directories=0\n"
    "format symbol=PEL name=Pelto FormatId=18 curLi=0 curDi=0 fsep=, dsep=\"\" frsep=. formatflags=24 "
    "MaxNameLength=0 lists=0 directories=0\n"
    "format symbol=TI name=\"Technical Investor\" FormatId=0 curLi=0 curDi=0 fsep=, dsep=\"\" frsep=. formatflags=0 "
    "MaxNameLength=0 lists=0 directories=0\n"
    "format symbol=TPV name=Topvest FormatId=8 curLi=0 curDi=0 fsep=, dsep=\"\" frsep=. formatflags=0 "
    "MaxNameLength=0 lists=0 directories=0\n";

TEST(KvqtInfoTest, DatafilePrintsTheTreeAsTheProgramLoadsIt) {
  TempDir dir;
  dir.write("kvqt.dat", DataFileBytes());
  Result run = Info({"datafile", dir.file("kvqt.dat")});
  EXPECT_EQ(run.rc, 0);
  EXPECT_EQ(run.err, "");
  EXPECT_EQ(run.out, kExpectedDatafile);
}

TEST(KvqtInfoTest, LoginPrintsTheUnscrambledRecord) {
  TempDir dir;
  dir.write("kvqt.prs", Hex("00 00 00 00 00") + Padded("12345", 9) + Hex("93 95 97 55 00 00 00 00 00") +
                            std::string(8, '\0') + Le32(20240315) + Le32(143005) + std::string(50, '\0'));
  Result run = Info({"login", "--show-password", dir.file("kvqt.prs")});
  EXPECT_EQ(run.rc, 0);
  // 0x55 - 50 - 3 is the blank.
  EXPECT_EQ(run.out, "login usernumber=12345 password=\"abc \" sessiondate=20240315 sessiontime=143005\n");
  // Without asking, the password is only said to be there.
  run = Info({"login", dir.file("kvqt.prs")});
  EXPECT_EQ(run.rc, 0);
  EXPECT_EQ(run.out, "login usernumber=12345 password=set sessiondate=20240315 sessiontime=143005\n");
  EXPECT_EQ(Info({"login"}).rc, 2);
  EXPECT_EQ(Info({"login", "--show-password", "a", "b"}).rc, 2);
}

TEST(KvqtInfoTest, UnreadableInputIsAOneLineErrorWithExitCode1) {
  TempDir dir;
  dir.write("short.prs", std::string(88, '\0'));
  dir.write("cut.dat", DataFileBytes().substr(0, 300));
  dir.write("many.dat", ":"s + Le32(257) + Le32(30204) + UserInfoBytes() + Le32(4) + Le32(24));
  struct Case {
    std::vector<std::string> args;
    std::string err;
  } cases[] = {
      {{"datafile", dir.file("missing.dat")},
       "kvqt-info: cannot open " + dir.file("missing.dat") + ": No such file or directory\n"},
      {{"login", dir.file("missing.prs")},
       "kvqt-info: cannot open " + dir.file("missing.prs") + ": No such file or directory\n"},
      {{"datafile", dir.path()}, "kvqt-info: " + dir.path() + ": not a regular file\n"},
      {{"login", dir.file("short.prs")},
       "kvqt-info: " + dir.file("short.prs") + ": login file too short (88 bytes, 89 expected)\n"},
      {{"datafile", dir.file("cut.dat")},
       "kvqt-info: " + dir.file("cut.dat") + ": damaged program data file (cut short or corrupt at byte 298)\n"},
      {{"datafile", dir.file("many.dat")}, "kvqt-info: " + dir.file("many.dat") + ": holds 24 formats, more than 23\n"},
  };
  for (const Case& c : cases) {
    Result run = Info(c.args);
    EXPECT_EQ(run.rc, 1) << c.args[1];
    EXPECT_EQ(run.out, "") << c.args[1];
    EXPECT_EQ(run.err, c.err);
  }
}

TEST(KvqtInfoTest, UsageAndHelp) {
  Result help = Info({"--help"});
  EXPECT_EQ(help.rc, 0);
  EXPECT_NE(help.out.find("datafile FILE"), std::string::npos);
  EXPECT_NE(help.out.find("login [--show-password] FILE"), std::string::npos);

  for (const std::vector<std::string>& args :
       {std::vector<std::string>{}, {"datafile"}, {"nothing", "x"}, {"datafile", "a", "b"}}) {
    Result run = Info(args);
    EXPECT_EQ(run.rc, 2);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, "kvqt-info: usage: kvqt-info VERB FILE (kvqt-info --help lists the verbs)\n");
  }
}

}  // namespace
}  // namespace kvqt::info
