#include "app/datafile/program_data_file.h"

#include <gtest/gtest.h>

#include <cstring>

#include "app/model/format_table.h"
#include "support/hex.h"
#include "support/temp_dir.h"

namespace kvqt {
namespace {

using kvqt::testing::Hex;
using kvqt::testing::Le16;
using kvqt::testing::Le32;
using kvqt::testing::Padded;
using kvqt::testing::TempDir;
using kvqt::testing::ToHex;
using namespace std::string_literals;

std::string Zeros(std::size_t n) { return std::string(n, '\0'); }

std::string DefaultUserInfoBytes() {
  return Hex("31 44 00 | 38 44 00 | a0 0f 00 00 | a0 0f 00 00") + Zeros(21 + 21 + 31) +
         Hex("04 | 00 | 00 00 00 00 | 01") + Zeros(81 + 100) + Hex("00 00 | 00 00 00 00");
}

// A tree of two formats in the current layout, written out byte by byte.
const std::string kCurrentFile =
    Hex("3a 01 01 00 00"    // ':' and stream format 257
        "fc 75 00 00") +    // version 30204
    DefaultUserInfoBytes() +
    Hex("04 00 00 00"       // current format: id 4
        "02 00 00 00"       // two formats
        // Metastock
        "02 00 00 00 4d 53"
        "09 00 00 00 4d 65 74 61 73 74 6f 63 6b"
        "04"                // FormatId
        "00 00 00 00"       // curLi
        "2c 00 2e"          // fsep ',' dsep none frsep '.'
        "01"                // formatflags
        "2d 00 00 00"       // MaxNameLength 45
        "01 00 00 00"       // one list
        "  05 00 00 00 46 75 6e 64 73"                // "Funds"
        "  00 00 00 00"                               // CurDir
        "  01 00 00 00"                               // one directory
        "    09 00 00 00 2f 64 61 74 61 2f 6d 73 2f"  // "/data/ms/"
        "    00 00 00 00 | 02 00 00 00"               // CurDataFile 0, SelDataFile 2
        "    01 00 00 00"                             // one entry
        "      04 00 00 00 41 53 4d 4c"               // "ASML"
        "      0c 00 00 00 41 53 4d 4c 20 48 6f 6c 64 69 6e 67"
        "      44 | 01 00 00 00 | 00 00 00 00 | 00 00 80 3f"  // 'D', sel, rtflag, factor 1.0
        "00 00 00 00"       // curDi
        "02 00 00 00"       // two directories
        "  09 00 00 00 2f 64 61 74 61 2f 6d 73 2f"    // "/data/ms/"
        "  01 00 00 00 | 02 00 00 00"                 // CurDataFile 1, SelDataFile 2
        "  02 00 00 00"
        "    03 00 00 00 41 47 4e | 05 00 00 00 41 65 67 6f 6e"
        "    44 | 01 00 00 00 | 00 00 00 00 | 00 00 80 3f"
        "    03 00 00 00 55 4e 41 | 08 00 00 00 55 6e 69 6c 65 76 65 72"
        "    44 | 00 00 00 00 | 01 00 00 00 | 00 00 00 3f"  // realtime, factor 0.5
        "  0a 00 00 00 2f 64 61 74 61 2f 6d 73 32 2f" // "/data/ms2/"
        "  00 00 00 00 | 01 00 00 00"                 // SelDataFile 1
        "  00 00 00 00"                               // no entries
        // a format of the predecessor product that keeps market numbers
        "03 00 00 00 4f 57 4e"
        "11 00 00 00 4f 6c 64 20 6d 61 72 6b 65 74 20 66 6f 72 6d 61 74"
        "0c"
        "ff ff ff ff"       // curLi -1
        "3b 2d 2c"          // ';' '-' ','
        "00"
        "00 00 00 00"
        "00 00 00 00"       // no lists
        "00 00 00 00"       // curDi
        "01 00 00 00"
        "  0a 00 00 00 2f 64 61 74 61 2f 6f 6c 64 2f" // "/data/old/"
        "  00 00 00 00 | 02 00 00 00"
        "  01 00 00 00"
        "    03 00 00 00 4b 4c 4d | 09 00 00 00 4b 4c 4d 20 52 6f 79 61 6c"
        "    07 00"                                   // Market 7
        "    57 | 01 00 00 00 | 00 00 00 00 | 00 00 00 40");  // 'W', factor 2.0

std::unique_ptr<Datafile> Entry(const char* symbol, const char* name, int formatId, bool selected, bool realtime,
                                float factor = 1.0f) {
  auto entry = std::make_unique<Datafile>(symbol, name, formatId, 30);
  entry->setSelected(selected);
  if (realtime) entry->setRealtime();
  entry->setFactor(factor);
  return entry;
}

// The same tree as built by the program, with the entries that are not stored.
void BuildTree(Formats& formats) {
  auto ms = std::make_unique<Format>("MS", "Metastock", 4);
  ms->setFormatflags(0x01);
  ms->setMaxNameLength(45);
  auto funds = std::make_unique<List>("Funds", 4);
  auto fundsDir = std::make_unique<Directory>("/data/ms/", 4);
  fundsDir->setSelectionMode(2);
  fundsDir->add(Entry("ASML", "ASML Holding", 4, true, false));
  fundsDir->add(Entry("PHIA", "Philips", 4, false, false));
  funds->addDirectory(std::move(fundsDir));
  ms->addList(std::move(funds));
  auto dir = std::make_unique<Directory>("/data/ms/", 4);
  dir->setSelectionMode(2);
  dir->setCurDataFile(1);
  dir->add(Entry("UNA", "Unilever", 4, false, true, 0.5f));
  dir->add(Entry("HEIA", "Heineken", 4, false, false));
  dir->add(Entry("AGN", "Aegon", 4, true, false));
  ms->addDirectory(std::move(dir));
  auto all = std::make_unique<Directory>("/data/ms2/", 4);
  all->add(Entry("RAND", "Randstad", 4, true, false));
  ms->addDirectory(std::move(all));
  formats.add(std::move(ms));

  auto own = std::make_unique<Format>("OWN", "Old market format", 12);
  own->setSeparators(';', '-', ',');
  own->setCurLi(-1);
  auto old = std::make_unique<Directory>("/data/old/", 12);
  old->setSelectionMode(2);
  auto klm = Entry("KLM", "KLM Royal", 12, true, false, 2.0f);
  klm->setMarket(7);
  klm->setPer('W');
  old->add(std::move(klm));
  own->addDirectory(std::move(old));
  formats.add(std::move(own));
  formats.setCurrentById(4);
}

void ExpectStoredTree(const Formats& formats) {
  ASSERT_EQ(formats.count(), 17);
  ASSERT_NE(formats.current(), nullptr);
  EXPECT_EQ(formats.current()->symbol(), "MS");

  const Format* ms = formats.findBySymbol("MS");
  ASSERT_NE(ms, nullptr);
  EXPECT_EQ(ms->curLi(), 0);
  EXPECT_EQ(ms->curDi(), 0);
  ASSERT_EQ(ms->listCount(), 1);
  const List* funds = ms->listAt(0);
  EXPECT_EQ(funds->name(), "Funds");
  ASSERT_EQ(funds->directoryCount(), 1);
  const Directory* fundsDir = funds->directoryAt(0);
  EXPECT_EQ(fundsDir->name(), "/data/ms/");
  EXPECT_EQ(fundsDir->selectionMode(), 2);
  ASSERT_EQ(fundsDir->size(), 1);
  EXPECT_EQ(fundsDir->at(0)->symbol(), "ASML");
  EXPECT_EQ(fundsDir->at(0)->name(), "ASML Holding");
  EXPECT_TRUE(fundsDir->at(0)->selected());

  ASSERT_EQ(ms->directoryCount(), 2);
  const Directory* dir = ms->directoryAt(0);
  EXPECT_EQ(dir->name(), "/data/ms/");
  EXPECT_EQ(dir->curDataFile(), 1);
  EXPECT_EQ(dir->selectionMode(), 2);
  EXPECT_FALSE(dir->scanned());
  ASSERT_EQ(dir->size(), 2);
  EXPECT_EQ(dir->at(0)->symbol(), "AGN");
  EXPECT_TRUE(dir->at(0)->selected());
  EXPECT_FALSE(dir->at(0)->realtime());
  EXPECT_EQ(dir->at(1)->symbol(), "UNA");
  EXPECT_FALSE(dir->at(1)->selected());
  EXPECT_TRUE(dir->at(1)->realtime());
  EXPECT_EQ(dir->at(1)->factor(), 0.5f);
  EXPECT_EQ(dir->at(1)->formatId(), 4);
  const Directory* all = ms->directoryAt(1);
  EXPECT_EQ(all->name(), "/data/ms2/");
  EXPECT_EQ(all->selectionMode(), 1);
  EXPECT_EQ(all->size(), 0);

  const Format* own = formats.findBySymbol("OWN");
  ASSERT_NE(own, nullptr);
  EXPECT_EQ(own->name(), "Old market format");
  EXPECT_EQ(own->formatId(), 12);
  EXPECT_EQ(own->curLi(), -1);
  EXPECT_EQ(own->fsep(), ';');
  EXPECT_EQ(own->dsep(), '-');
  EXPECT_EQ(own->frsep(), ',');
  ASSERT_EQ(own->directoryCount(), 1);
  ASSERT_EQ(own->directoryAt(0)->size(), 1);
  const Datafile* klm = own->directoryAt(0)->at(0);
  EXPECT_EQ(klm->name(), "KLM Royal");
  EXPECT_EQ(klm->market(), 7);
  EXPECT_EQ(klm->per(), 'W');
  EXPECT_EQ(klm->factor(), 2.0f);
}

// Writes the same tree in the layouts of earlier releases.
struct Layout {
  const char* label;
  bool header;
  std::uint32_t streamFormat;
  std::int32_t version;
  std::int32_t current;
};

class OldWriter {
 public:
  explicit OldWriter(const Layout& layout) : layout_(layout) {}
  std::string Int(std::int32_t v) const { return layout_.streamFormat == 0 ? Le16(v) : Le32(v); }
  std::string Text(const std::string& t) const {
    bool shortTexts = layout_.streamFormat <= 256;
    return (shortTexts ? std::string(1, static_cast<char>(t.size())) : Le32(static_cast<long>(t.size()))) + t;
  }
  std::string Entry(const char* symbol, const char* name, char per, int sel, int rt, const std::string& factor,
                    const std::string& market = "") const {
    return Text(symbol) + Text(name) + market + std::string(1, per) + Int(sel) + Int(rt) + factor;
  }

  std::string File(const std::string& userInfo) const {
    std::string header = layout_.header ? ":" + Le32(layout_.streamFormat) : "";
    return header + Le32(layout_.version) + userInfo + Int(layout_.current) + Int(2) +
           // Metastock
           Text("MS") + Text("Metastock") + Hex("04") + Int(0) + ",\0."s + Hex("01") + Int(45) + Int(1) +
           Text("Funds") + Int(0) + Int(1) + Text("/data/ms/") + Int(0) + Int(2) + Int(1) +
           Entry("ASML", "ASML Holding", 'D', 1, 0, Hex("00 00 80 3f")) + Int(0) + Int(2) + Text("/data/ms/") +
           Int(1) + Int(2) + Int(2) + Entry("AGN", "Aegon", 'D', 1, 0, Hex("00 00 80 3f")) +
           Entry("UNA", "Unilever", 'D', 0, 1, Hex("00 00 00 3f")) + Text("/data/ms2/") + Int(0) + Int(1) + Int(0) +
           // the format that keeps market numbers
           Text("OWN") + Text("Old market format") + Hex("0c") + Int(-1) + ";-,"s + Hex("00") + Int(0) + Int(0) +
           Int(0) + Int(1) + Text("/data/old/") + Int(0) + Int(2) + Int(1) +
           Entry("KLM", "KLM Royal", 'W', 1, 0, Hex("00 00 00 40"), Le16(7));
  }

 private:
  const Layout& layout_;
};

UserInfo ReadInto(const std::string& bytes, Formats& formats, int expectedRc = 0,
                  const DataFileReadOptions& options = {}) {
  UserInfo info;
  EXPECT_EQ(DecodeProgramDataFile(bytes, options, info, formats), expectedRc);
  return info;
}

TEST(ProgramDataFileTest, CurrentLayoutLoadsIntoTheTree) {
  Formats formats;
  DataFileInfo info;
  UserInfo user;
  ASSERT_EQ(DecodeProgramDataFile(kCurrentFile, {}, user, formats, &info), 0);
  EXPECT_EQ(info.streamFormat, 257u);
  EXPECT_EQ(info.version, 30204);
  EXPECT_EQ(info.storedFormats, 2);
  EXPECT_EQ(user.savft, "1D");
  EXPECT_EQ(user.connection, 4);
  ExpectStoredTree(formats);
}

TEST(ProgramDataFileTest, SaveWritesExactlyTheLayout) {
  Formats formats;
  BuildTree(formats);
  EXPECT_EQ(ToHex(EncodeProgramDataFile(UserInfo{}, formats)), ToHex(kCurrentFile));
}

TEST(ProgramDataFileTest, TheTestWriterAgreesWithTheWrittenOutCurrentLayout) {
  Layout current{"current", true, 257, 30204, 4};
  EXPECT_EQ(ToHex(OldWriter(current).File(DefaultUserInfoBytes())), ToHex(kCurrentFile));
}

TEST(ProgramDataFileTest, EveryEarlierLayoutLoadsIntoTheSameTree) {
  // Index 9 in the stored name order without "DAVI-IMP" is Metastock.
  const Layout layouts[] = {
      {"current", true, 257, 30204, 4},
      {"version 20302, current format by index", true, 257, 20302, 9},
      {"version 10504, old UserInfo", true, 257, 10504, 9},
      {"stream format 256", true, 256, 20000, 9},
      {"stream format 0", false, 0, 10200, 9},
  };
  for (const Layout& layout : layouts) {
    SCOPED_TRACE(layout.label);
    OldWriter writer(layout);
    UserInfo stored;
    stored.NetworkDestination = "quotes.example";
    stored.connection = 3;
    std::string userInfo = EncodeUserInfo(stored);
    bool old = layout.version <= 10504;
    // The old layout is the current one without `NetworkDestination`.
    if (old) userInfo = userInfo.substr(0, 56) + userInfo.substr(87);
    std::string bytes = writer.File(userInfo);
    Formats formats;
    DataFileInfo info;
    UserInfo user;
    ASSERT_EQ(DecodeProgramDataFile(bytes, {}, user, formats, &info), 0);
    EXPECT_EQ(info.streamFormat, layout.streamFormat);
    EXPECT_EQ(info.version, layout.version);
    EXPECT_EQ(user.connection, 3);
    EXPECT_EQ(user.NetworkDestination, old ? "" : "quotes.example");
    ExpectStoredTree(formats);
  }
}

TEST(ProgramDataFileTest, Version10505HasTheCurrentUserInfo) {
  Layout layout{"10505", true, 257, 10505, 9};
  UserInfo stored;
  stored.NetworkDestination = "quotes.example";
  std::string bytes = OldWriter(layout).File(EncodeUserInfo(stored));
  Formats formats;
  UserInfo user = ReadInto(bytes, formats);
  EXPECT_EQ(user.NetworkDestination, "quotes.example");
  ExpectStoredTree(formats);
}

TEST(ProgramDataFileTest, OldFilesCountTheCurrentFormatAfterTheMergeAddsDaviImport) {
  // In name order after the merge: 0-5 the Ascii formats, 6 "Davi-Effect
  // Import", 7 "Jaad Hermes", 8 "Jaad Hermes Intraday", 9 "Jaad Koersbase II",
  // 10 "Metastock".
  struct Case {
    std::int32_t version;
    std::int32_t current;
    bool daviStored;
    const char* symbol;
  } cases[] = {
      {20302, 6, false, "HERMES"}, {20302, 5, false, "TAB"},  {20302, 6, true, "DAVI-IMP"},
      {20302, 9, true, "KB2"},     {20302, 99, false, "ASC"}, {20302, -3, false, "ASC"},
      // From 20303 on the value is the FormatId.
      {20303, 18, false, "PEL"},   {20303, 6, false, "KB2"},   {20303, 99, false, "ASC"},
  };
  for (const Case& c : cases) {
    std::string bytes = ":"s + Le32(257) + Le32(c.version) + DefaultUserInfoBytes() + Le32(c.current);
    if (c.daviStored) {
      bytes += Le32(1) + Le32(8) + "DAVI-IMP" + Le32(18) + "Davi-Effect Import" + Hex("13") + Le32(0) + ",\0."s +
               Hex("28") + Le32(0) + Le32(0) + Le32(0) + Le32(0);
    } else {
      bytes += Le32(0);
    }
    Formats formats;
    ReadInto(bytes, formats);
    ASSERT_NE(formats.current(), nullptr);
    EXPECT_EQ(formats.current()->symbol(), c.symbol) << c.version << " " << c.current;
  }
}

TEST(ProgramDataFileTest, CurrentFormatByIdSurvivesTheMerge) {
  // Only "Topvest" is stored; the merge puts fifteen formats before it.
  std::string bytes = ":"s + Le32(257) + Le32(30204) + DefaultUserInfoBytes() + Le32(8) + Le32(1) + Le32(3) + "TPV" +
                      Le32(7) + "Topvest" + Hex("08") + Le32(0) + ",\0."s + Hex("00") + Le32(0) + Le32(0) + Le32(0) +
                      Le32(0);
  Formats formats;
  ReadInto(bytes, formats);
  EXPECT_EQ(formats.current()->symbol(), "TPV");
}

TEST(ProgramDataFileTest, StoredNamesOfBuiltInFormatsAreReplacedButTheirTreeStays) {
  std::string bytes = kCurrentFile;
  std::size_t at = bytes.find("Metastock");
  bytes.replace(at, 9, "Zetastock");
  Formats formats;
  ReadInto(bytes, formats);
  const Format* ms = formats.findBySymbol("MS");
  EXPECT_EQ(ms->name(), "Metastock");
  EXPECT_EQ(ms->directoryCount(), 2);
  EXPECT_EQ(ms->listCount(), 1);
  EXPECT_EQ(formats.findByName("Metastock"), ms);
}

TEST(ProgramDataFileTest, NullTextsReadAsEmptyAndNamelessListsAreDropped) {
  struct Case {
    const char* label;
    std::string bytes;
  } cases[] = {
      {"stream 257", ":"s + Le32(257) + Le32(30204) + DefaultUserInfoBytes() + Le32(13) + Le32(1) + Le32(1) + "X" +
                         Hex("ff ff ff ff") + Hex("0d") + Le32(0) + ",\0."s + Hex("00") + Le32(0) + Le32(1) +
                         Hex("ff ff ff ff") + Le32(0) + Le32(0) + Le32(0) + Le32(0)},
      {"stream 256", ":"s + Le32(256) + Le32(30204) + DefaultUserInfoBytes() + Le32(13) + Le32(1) + Hex("01") + "X" +
                         Hex("ff") + Hex("0d") + Le32(0) + ",\0."s + Hex("00") + Le32(0) + Le32(1) + Hex("ff") +
                         Le32(0) + Le32(0) + Le32(0) + Le32(0)},
  };
  for (const Case& c : cases) {
    Formats formats;
    ReadInto(c.bytes, formats);
    const Format* x = formats.findBySymbol("X");
    ASSERT_NE(x, nullptr) << c.label;
    EXPECT_EQ(x->name(), "") << c.label;
    EXPECT_EQ(x->formatId(), 13) << c.label;
    EXPECT_EQ(x->listCount(), 0) << c.label;
    EXPECT_EQ(formats.current(), x) << c.label;
  }
}

TEST(ProgramDataFileTest, StoredConnectionOneOrSixReadsAsZero) {
  for (int stored : {1, 6}) {
    std::string bytes = kCurrentFile;
    bytes[5 + 4 + 87] = static_cast<char>(stored);
    Formats formats;
    EXPECT_EQ(ReadInto(bytes, formats).connection, 0) << stored;
  }
}

TEST(ProgramDataFileTest, MoreThan23FormatsAreRefused) {
  std::string header = ":"s + Le32(257) + Le32(30204) + EncodeUserInfo([] {
                         UserInfo u;
                         u.connection = 2;
                         return u;
                       }()) +
                       Le32(4);
  Formats formats;
  DataFileInfo info;
  UserInfo user;
  EXPECT_EQ(DecodeProgramDataFile(header + Le32(24), {}, user, formats, &info), kTooManyFormats);
  EXPECT_EQ(formats.count(), 0);
  EXPECT_EQ(user.connection, 2);
  EXPECT_EQ(info.storedFormats, 24);

  // 23 is the most a file may hold; its formats are simply cut short here.
  EXPECT_EQ(DecodeProgramDataFile(header + Le32(23), {}, user, formats), kDataFileDamaged);
  EXPECT_EQ(formats.count(), 16);
}

TEST(ProgramDataFileTest, ImportingThePredecessorsFileDropsItsOwnFormats) {
  auto format = [](const char* symbol, int id, bool withEntry) {
    std::string dirs = withEntry ? Le32(1) + Le32(5) + "/old/" + Le32(0) + Le32(2) + Le32(1) + Le32(1) + "A" +
                                       Le32(1) + "a" + (id == 12 ? Le16(9) : ""s) + "D" + Le32(1) + Le32(0) +
                                       Hex("00 00 80 3f")
                                 : Le32(0);
    return Le32(static_cast<long>(std::strlen(symbol))) + symbol + Le32(static_cast<long>(std::strlen(symbol))) +
           symbol + std::string(1, static_cast<char>(id)) + Le32(0) + ",\0."s + Hex("00") + Le32(0) + Le32(0) +
           Le32(0) + dirs;
  };
  std::string bytes = ":"s + Le32(257) + Le32(20302) + DefaultUserInfoBytes() + Le32(0) + Le32(7) +
                      format("P1", 1, false) + format("P2", 2, false) + format("P3", 3, false) +
                      format("P7", 7, false) + format("P12", 12, true) + format("MS", 4, true) +
                      format("P13", 13, false);

  Formats kept;
  ReadInto(bytes, kept);
  EXPECT_EQ(kept.count(), 16 + 6);
  ASSERT_NE(kept.findBySymbol("P12"), nullptr);
  EXPECT_EQ(kept.findBySymbol("P12")->directoryAt(0)->at(0)->market(), 9);

  Formats imported;
  DataFileReadOptions options;
  options.importingPredecessor = true;
  ReadInto(bytes, imported, 0, options);
  EXPECT_EQ(imported.count(), 16 + 1);
  for (const char* dropped : {"P1", "P2", "P3", "P7", "P12"}) EXPECT_EQ(imported.findBySymbol(dropped), nullptr);
  EXPECT_NE(imported.findBySymbol("P13"), nullptr);
  EXPECT_EQ(imported.findBySymbol("MS")->directoryAt(0)->size(), 1);
}

TEST(ProgramDataFileTest, TextsLongerThanTheirFieldsAreCut) {
  std::string bytes = ":"s + Le32(257) + Le32(30204) + DefaultUserInfoBytes() + Le32(13) + Le32(1) + Le32(12) +
                      "ABCDEFGHIJKL" + Le32(300) + std::string(300, 'n') + Hex("0d") + Le32(0) + ",\0."s + Hex("00") +
                      Le32(0) + Le32(1) + Le32(300) + std::string(300, 'l') + Le32(0) + Le32(0) + Le32(0) + Le32(1) +
                      Le32(800) + std::string(800, 'p') + Le32(0) + Le32(2) + Le32(1) + Le32(9) + "SYMBOL123" +
                      Le32(60) + std::string(60, 'i') + "D" + Le32(1) + Le32(0) + Hex("00 00 80 3f");
  Formats formats;
  ReadInto(bytes, formats);
  const Format* f = formats.findBySymbol("ABCDEFGH");
  ASSERT_NE(f, nullptr);
  EXPECT_EQ(f->name(), std::string(256, 'n'));
  EXPECT_EQ(f->listAt(0)->name(), std::string(255, 'l'));
  EXPECT_EQ(f->directoryAt(0)->name(), std::string(768, 'p'));
  EXPECT_EQ(f->directoryAt(0)->at(0)->symbol(), "SYMBOL12");
  EXPECT_EQ(f->directoryAt(0)->at(0)->name(), std::string(50, 'i'));
}

TEST(ProgramDataFileTest, EveryTruncationReadsWithoutHarmAndKeepsWhatWasRead) {
  for (std::size_t length = 0; length <= kCurrentFile.size(); ++length) {
    Formats formats;
    UserInfo user;
    int rc = DecodeProgramDataFile(std::string_view(kCurrentFile).substr(0, length), {}, user, formats);
    ASSERT_EQ(rc, length == kCurrentFile.size() ? 0 : kDataFileDamaged) << length;
    ASSERT_GE(formats.count(), 16) << length;
    ASSERT_NE(formats.current(), nullptr) << length;
    EXPECT_EQ(user.savft, "1D");
    EXPECT_EQ(user.connection, 4);
  }
  // Cut inside the last entry: everything before it stands.
  Formats formats;
  UserInfo user;
  DecodeProgramDataFile(std::string_view(kCurrentFile).substr(0, kCurrentFile.size() - 1), {}, user, formats);
  const Format* ms = formats.findBySymbol("MS");
  EXPECT_EQ(ms->directoryAt(0)->size(), 2);
  EXPECT_EQ(formats.current(), ms);
  ASSERT_NE(formats.findBySymbol("OWN"), nullptr);
  EXPECT_EQ(formats.findBySymbol("OWN")->directoryAt(0)->size(), 0);
}

TEST(ProgramDataFileTest, CorruptCountsAndLengthsEndTheReading) {
  std::string prefix = ":"s + Le32(257) + Le32(30204) + DefaultUserInfoBytes() + Le32(13) + Le32(1) + Le32(1) + "X" +
                       Le32(1) + "x" + Hex("0d") + Le32(0) + ",\0."s + Hex("00") + Le32(0);
  struct Case {
    const char* label;
    std::string rest;
    int lists;
  } cases[] = {
      {"huge list count", Le32(0x7fffffff) + Le32(1) + "L" + Le32(0) + Le32(0), 1},
      {"negative list count", Le32(-5) + Le32(0) + Le32(0), 0},
      {"huge text length", Le32(1) + Hex("f0 ff ff ff") + "L", 0},
      {"huge entry count", Le32(1) + Le32(1) + "L" + Le32(0) + Le32(1) + Le32(2) + "/d" + Le32(0) + Le32(2) +
                               Le32(0x7fffffff) + Le32(1) + "A" + Le32(1) + "a" + "D" + Le32(1) + Le32(0) +
                               Hex("00 00 80 3f"),
       1},
  };
  for (const Case& c : cases) {
    Formats formats;
    ReadInto(prefix + c.rest, formats, kDataFileDamaged);
    const Format* x = formats.findBySymbol("X");
    ASSERT_NE(x, nullptr) << c.label;
    EXPECT_EQ(x->listCount(), c.lists) << c.label;
  }
}

TEST(ProgramDataFileTest, EmptyFileGivesTheDefaults) {
  Formats formats;
  UserInfo user = ReadInto("", formats, kDataFileDamaged);
  EXPECT_EQ(user.savft, "1D");
  EXPECT_EQ(user.connection, 4);
  EXPECT_EQ(formats.count(), 16);
  EXPECT_EQ(formats.current()->symbol(), "ASC");
}

TEST(ProgramDataFileTest, MissingFileGivesTheDefaultsAndTheBuiltInFormats) {
  TempDir dir;
  Formats formats;
  UserInfo user;
  user.savft = "stale";
  EXPECT_EQ(ReadProgramDataFile(dir.file("kvqt.dat"), {}, user, formats), kDataFileMissing);
  EXPECT_EQ(user.savft, "1D");
  EXPECT_EQ(user.dialtype, 1);
  EXPECT_TRUE(user.lastsessiondate.isNull());
  EXPECT_EQ(formats.count(), 16);
  EXPECT_EQ(formats.current()->symbol(), "ASC");

  dir.write("kvqt.dat", kCurrentFile);
  EXPECT_EQ(ReadProgramDataFile(dir.file("kvqt.dat"), {}, user, formats), 0);
  ExpectStoredTree(formats);
}

TEST(ProgramDataFileTest, SavingWhatWasLoadedChangesNothing) {
  Formats first;
  UserInfo user = ReadInto(kCurrentFile, first);
  std::string saved = EncodeProgramDataFile(user, first);
  Formats second;
  UserInfo again = ReadInto(saved, second);
  ExpectStoredTree(second);
  EXPECT_EQ(ToHex(EncodeProgramDataFile(again, second)), ToHex(saved));
}

// A refresh rebuilds a directory's entries from its master, but not what
// only this file holds: such an entry is stored in every selection mode.
TEST(ProgramDataFileTest, EntriesHoldingWhatARefreshCannotRebuildAreStored) {
  struct Case {
    const char* label;
    int mode;
    bool selected;
    bool realtime;
    float factor;
    int stored;
  } cases[] = {
      {"mode 1, factor 0.5", 1, true, false, 0.5f, 2},
      {"mode 0, factor -1", 0, false, false, -1.0f, 2},
      {"mode 2, not selected, factor 2", 2, false, false, 2.0f, 2},
      {"mode 1, realtime", 1, true, true, 1.0f, 2},
      {"mode 1, nothing of its own", 1, true, false, 1.0f, 0},
      {"mode 2, nothing of its own", 2, false, false, 1.0f, 1},
  };
  for (const Case& c : cases) {
    Formats formats;
    auto format = std::make_unique<Format>("MS", "Metastock", 4);
    auto directory = std::make_unique<Directory>("/data/ms/", 4);
    directory->setSelectionMode(c.mode);
    directory->add(Entry("HALF", "Half Price", 4, c.selected, c.realtime, c.factor));
    directory->add(Entry("PLAIN", "Plain", 4, true, false));
    format->addDirectory(std::move(directory));
    formats.add(std::move(format));

    Formats reread;
    ReadInto(EncodeProgramDataFile(UserInfo{}, formats), reread);
    const Directory* stored = reread.findBySymbol("MS")->directoryAt(0);
    ASSERT_EQ(stored->size(), c.stored) << c.label;
    const Datafile* half = stored->bySymbol("HALF");
    if (c.factor != 1.0f || c.realtime) {
      ASSERT_NE(half, nullptr) << c.label;
      EXPECT_EQ(half->factor(), c.factor) << c.label;
      EXPECT_EQ(half->realtime(), c.realtime) << c.label;
      EXPECT_EQ(half->selected(), c.selected) << c.label;
    }
  }
}

// An Orvista 2000 directory has no master: its entries are its instruments,
// kept whatever the selection mode, in the format and in its lists.
TEST(ProgramDataFileTest, DirectoriesOfAFormatWithoutMasterKeepAllTheirEntries) {
  Formats formats;
  MergeFormatTable(formats);
  Format* orvista = formats.findBySymbol("ORV2");
  ASSERT_NE(orvista, nullptr);
  auto fill = [](Directory& directory) {
    directory.add(Entry("ABC", "Abc Industries", 16, true, false));
    directory.add(Entry("XY", "Punctuation & Co", 16, false, false));
  };
  for (int mode : {0, 1}) {
    auto directory = std::make_unique<Directory>("/orv/" + std::to_string(mode) + "/", 16);
    directory->setSelectionMode(mode);
    fill(*directory);
    orvista->addDirectory(std::move(directory));
  }
  auto list = std::make_unique<List>("Watch", 16);
  auto listed = std::make_unique<Directory>("/orv/1/", 16);
  fill(*listed);
  list->addDirectory(std::move(listed));
  orvista->addList(std::move(list));

  Formats reread;
  ReadInto(EncodeProgramDataFile(UserInfo{}, formats), reread);
  const Format* stored = reread.findBySymbol("ORV2");
  ASSERT_EQ(stored->directoryCount(), 2);
  for (const Directory* directory : {stored->directoryAt(0), stored->directoryAt(1), stored->listAt(0)->directoryAt(0)}) {
    ASSERT_EQ(directory->size(), 2) << directory->name();
    EXPECT_TRUE(directory->bySymbol("ABC")->selected()) << directory->name();
    EXPECT_FALSE(directory->bySymbol("XY")->selected()) << directory->name();
  }
}

TEST(ProgramDataFileTest, AFullTreeIsStoredWithAtMost23Formats) {
  Formats formats;
  for (int i = 0; i < 8; ++i) {
    formats.add(std::make_unique<Format>("U" + std::to_string(i), "User " + std::to_string(i), 13));
  }
  MergeFormatTable(formats);
  ASSERT_EQ(formats.count(), 24);
  formats.findBySymbol("TPV")->addDirectory(std::make_unique<Directory>("/tpv/", 8));

  std::string bytes = EncodeProgramDataFile(UserInfo{}, formats);
  EXPECT_EQ(bytes.substr(5 + 4 + 281 + 4, 4), Le32(23));
  Formats reread;
  ReadInto(bytes, reread);
  EXPECT_EQ(reread.count(), 24);
  EXPECT_EQ(reread.findBySymbol("TPV")->directoryCount(), 1);
}

}  // namespace
}  // namespace kvqt
