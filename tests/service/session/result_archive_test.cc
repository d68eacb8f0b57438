#include "service/session/result_archive.h"

#include <gtest/gtest.h>
#include <zip.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "support/hex.h"
#include "support/temp_dir.h"

namespace kvqt {
namespace {

using testing::Hex;
using testing::TempDir;

using Members = std::vector<std::pair<std::string, std::string>>;

// An archive written by libzip, deflated, with the members under the names
// given, whatever they are.
void WriteZip(const std::string& path, const Members& members) {
  int error = 0;
  zip_t* zip = zip_open(path.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &error);
  ASSERT_NE(zip, nullptr);
  for (const auto& [name, data] : members) {
    zip_source_t* source = zip_source_buffer(zip, data.data(), data.size(), 0);
    ASSERT_NE(source, nullptr);
    ASSERT_GE(zip_file_add(zip, name.c_str(), source, ZIP_FL_ENC_UTF_8), 0) << name;
  }
  ASSERT_EQ(zip_close(zip), 0);
}

// The names of the files in a directory.
std::vector<std::string> Listing(const std::string& directory) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(directory)) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

// One stored member "a.txt" holding "hello\r\n", laid out by hand: local
// header, data, central directory entry and end record.
std::string HandWrittenArchive() {
  return Hex(
      // local header: signature, version 10, flags, stored, time, date
      "50 4b 03 04 0a 00 00 00 00 00 00 00 00 00"
      // crc-32, compressed and uncompressed size, name length, extra length
      "ac 8a ce 46 07 00 00 00 07 00 00 00 05 00 00 00"
      "61 2e 74 78 74"           // a.txt
      "68 65 6c 6c 6f 0d 0a"     // hello\r\n
      // central directory entry
      "50 4b 01 02 14 00 0a 00 00 00 00 00 00 00 00 00"
      "ac 8a ce 46 07 00 00 00 07 00 00 00 05 00 00 00"
      "00 00 00 00 00 00 00 00 00 00 00 00 00 00"
      "61 2e 74 78 74"
      // end record: one entry, directory of 0x33 bytes at offset 0x2a
      "50 4b 05 06 00 00 00 00 01 00 01 00 33 00 00 00 2a 00 00 00 00 00");
}

TEST(ResultArchiveTest, HandWrittenStoredArchive) {
  TempDir dir;
  dir.write("result.zip", HandWrittenArchive());
  ASSERT_EQ(ExtractArchive(dir.file("result.zip"), dir.path(), {"a.txt"}), kExtractOk);
  EXPECT_EQ(dir.read("a.txt"), "hello\r\n");
  EXPECT_EQ(Listing(dir.path()), (std::vector<std::string>{"a.txt", "result.zip"}));
}

TEST(ResultArchiveTest, EveryMemberReplacesAFileOfItsName) {
  TempDir dir;
  dir.write("sksdat.dat", "an older result\r\n");
  dir.write("motd.txt", "yesterday's message, longer than today's\r\n");
  const std::string big(50000, 'x');
  WriteZip(dir.file("result.zip"), {{"sksdat.dat", "ABC,20240112,100,1,2,0.5,1.5\r\n"},
                                    {"motd.txt", "Hello\r\n"},
                                    {"sintab.fd", big}});
  ASSERT_EQ(ExtractArchive(dir.file("result.zip"), dir.path()), kExtractOk);
  EXPECT_EQ(dir.read("sksdat.dat"), "ABC,20240112,100,1,2,0.5,1.5\r\n");
  EXPECT_EQ(dir.read("motd.txt"), "Hello\r\n");
  EXPECT_EQ(dir.read("sintab.fd"), big);
  // Nothing of the extraction's own is left behind.
  EXPECT_EQ(Listing(dir.path()), (std::vector<std::string>{"motd.txt", "result.zip", "sintab.fd", "sksdat.dat"}));
}

TEST(ResultArchiveTest, MemberThatIsNotAPlainNameWritesNothingAtAll) {
  const char* bad_names[] = {"../.profile", "../../evil", "sub/sksdat.dat", "/tmp/kvqt-evil", "..\\evil",
                             "dir/",       "..",          ".",
                             // Names that act on a terminal or on a program handed the file.
                             "-rf", "--help", "a\tb"};
  for (const char* bad : bad_names) {
    SCOPED_TRACE(bad);
    TempDir outer;
    std::string dir = outer.path() + "work/";
    ASSERT_TRUE(std::filesystem::create_directory(dir));
    outer.write("work/sksdat.dat", "kept\r\n");
    // The good member comes first: it must not be written either.
    WriteZip(outer.file("result.zip"), {{"sksdat.dat", "new\r\n"}, {"motd.txt", "Hi\r\n"}, {bad, "owned\r\n"}});
    EXPECT_EQ(ExtractArchive(outer.file("result.zip"), dir), kExtractBadMember);
    EXPECT_EQ(outer.read("work/sksdat.dat"), "kept\r\n");
    EXPECT_EQ(Listing(dir), std::vector<std::string>{"sksdat.dat"});
    EXPECT_EQ(Listing(outer.path()), (std::vector<std::string>{"result.zip", "work"}));
  }
  EXPECT_FALSE(std::filesystem::exists("/tmp/kvqt-evil"));
}

TEST(ResultArchiveTest, DamagedArchivesWriteNothing) {
  TempDir source;
  WriteZip(source.file("good.zip"), {{"sksdat.dat", std::string(5000, 'p')}, {"motd.txt", std::string(3000, 'm')}});
  const std::string good = source.read("good.zip");
  std::string bad_crc = HandWrittenArchive();
  bad_crc[0x23] = 'j';  // "hello" becomes "jello": the checksum no longer fits
  std::string flipped = good;
  flipped[flipped.size() / 3] ^= 0x5a;

  const struct {
    const char* what;
    std::string bytes;
  } cases[] = {
      {"not a zip archive", "PK but not really an archive"},
      {"empty file", ""},
      {"cut short", good.substr(0, good.size() - 30)},
      {"no end record", good.substr(0, good.size() - 22)},
      {"checksum wrong", bad_crc},
      {"byte flipped in the data", flipped},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    TempDir dir;
    dir.write("sksdat.dat", "kept\r\n");
    dir.write("result.zip", c.bytes);
    EXPECT_EQ(ExtractArchive(dir.file("result.zip"), dir.path(), {"sksdat.dat", "motd.txt", "a.txt"}),
              kExtractDamaged);
    EXPECT_EQ(dir.read("sksdat.dat"), "kept\r\n");
    EXPECT_EQ(Listing(dir.path()), (std::vector<std::string>{"result.zip", "sksdat.dat"}));
  }
}

// Sets the uncompressed size that every local and central header declares.
std::string WithDeclaredSize(std::string zip, std::uint32_t size) {
  const struct {
    std::string signature;
    std::size_t offset;
  } headers[] = {{std::string("PK\x03\x04", 4), 22}, {std::string("PK\x01\x02", 4), 24}};
  for (const auto& header : headers) {
    for (std::size_t at = zip.find(header.signature); at != std::string::npos;
         at = zip.find(header.signature, at + 4)) {
      zip.replace(at + header.offset, 4, testing::Le32(size));
    }
  }
  return zip;
}

TEST(ResultArchiveTest, SizesThatDoNotHoldWriteNothing) {
  TempDir source;
  WriteZip(source.file("good.zip"), {{"sksdat.dat", std::string(3000, 'p')}, {"motd.txt", std::string(900, 'm')}});
  const std::string good = source.read("good.zip");
  const struct {
    const char* what;
    std::uint32_t declared;
    int result;
  } cases[] = {
      // Two members of 3 GiB each: refused before anything is unpacked.
      {"more than the bound", 0xC0000000u, kExtractTooLarge},
      // The data unpack to more than the headers say.
      {"more than declared", 100, kExtractDamaged},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    TempDir dir;
    dir.write("result.zip", WithDeclaredSize(good, c.declared));
    EXPECT_EQ(ExtractArchive(dir.file("result.zip"), dir.path()), c.result);
    EXPECT_EQ(Listing(dir.path()), std::vector<std::string>{"result.zip"});
  }
}

TEST(ResultArchiveTest, MissingArchive) {
  TempDir dir;
  EXPECT_EQ(ExtractArchive(dir.file("result.zip"), dir.path()), kExtractNotFound);
}

TEST(ResultArchiveTest, MemberNamedLikeTheStagingDirectoryStillExtracts) {
  TempDir dir;
  WriteZip(dir.file("result.zip"), {{".kvqt-extract-0", "one\r\n"}, {"sksdat.dat", "two\r\n"}});
  ASSERT_EQ(ExtractArchive(dir.file("result.zip"), dir.path(), {".kvqt-extract-0", "sksdat.dat"}), kExtractOk);
  EXPECT_EQ(dir.read(".kvqt-extract-0"), "one\r\n");
  EXPECT_EQ(dir.read("sksdat.dat"), "two\r\n");
}

TEST(ResultArchiveTest, OnlyTheMembersTheSessionUsesAreWritten) {
  TempDir dir;
  for (const char* own : {"kvqt.dat", "kvqt.prs", "kvqt.sdb", "query.dat", "kvqt.tsk"}) dir.write(own, "own");
  Members members{{"SKSDAT.DAT", "ABC,20240112,100,1,2,0.5,1.5\r\n"},
                  {"motd.txt", "Hi\r\n"},
                  {"kvqt.dat", "JUNK"},
                  {"kvqt.prs", "JUNK"},
                  {"kvqt.sdb", "JUNK"},
                  {"KVQT.SDB", "JUNK"},
                  {"query.dat", "JUNK"},
                  {"kvqt.tsk", "JUNK"},
                  {"sksdat.dat", "a second one, skipped"}};
  for (int i = 0; i < 2000; ++i) members.push_back({"extra-" + std::to_string(i), "x"});
  WriteZip(dir.file("result.zip"), members);
  ASSERT_EQ(ExtractArchive(dir.file("result.zip"), dir.path()), kExtractOk);
  EXPECT_EQ(dir.read("sksdat.dat"), "ABC,20240112,100,1,2,0.5,1.5\r\n");
  EXPECT_EQ(dir.read("motd.txt"), "Hi\r\n");
  for (const char* own : {"kvqt.dat", "kvqt.prs", "kvqt.sdb", "query.dat", "kvqt.tsk"}) {
    EXPECT_EQ(dir.read(own), "own") << own;
  }
  EXPECT_EQ(Listing(dir.path()), (std::vector<std::string>{"kvqt.dat", "kvqt.prs", "kvqt.sdb", "kvqt.tsk",
                                                           "motd.txt", "query.dat", "result.zip", "sksdat.dat"}));
}

TEST(ResultArchiveTest, WhatTheMembersUnpackToIsBoundedByTheArchivesSize) {
  TempDir dir;
  // Honest headers, about 1000:1: far more than a result packs to.
  WriteZip(dir.file("result.zip"), {{"sksdat.dat", "ABC,20240112,100,1,2,0.5,1.5\r\n"},
                                    {"motd.txt", std::string(kUnpackFloor * 4, ' ')}});
  ASSERT_LT(std::filesystem::file_size(dir.file("result.zip")) * kUnpackRatio, kUnpackFloor * 4);
  EXPECT_EQ(ExtractArchive(dir.file("result.zip"), dir.path()), kExtractTooLarge);
  EXPECT_EQ(Listing(dir.path()), std::vector<std::string>{"result.zip"});

  // Within the floor a small archive may pack as tight as it likes.
  WriteZip(dir.file("result.zip"), {{"motd.txt", std::string(kUnpackFloor / 2, ' ')}});
  EXPECT_EQ(ExtractArchive(dir.file("result.zip"), dir.path()), kExtractOk);
  EXPECT_EQ(std::filesystem::file_size(dir.file("motd.txt")), kUnpackFloor / 2);

  // Skipped members do not count.
  std::filesystem::remove(dir.file("motd.txt"));
  WriteZip(dir.file("result.zip"), {{"junk.bin", std::string(kUnpackFloor * 4, ' ')}, {"motd.txt", "Hi\r\n"}});
  EXPECT_EQ(ExtractArchive(dir.file("result.zip"), dir.path()), kExtractOk);
  EXPECT_EQ(dir.read("motd.txt"), "Hi\r\n");
}

}  // namespace
}  // namespace kvqt
