#include "zip_archive.h"

#include <gtest/gtest.h>

#include "support/hex.h"

namespace kvqt::server {
namespace {

TEST(ZipArchiveTest, MembersComeBackByNameAndContent) {
  std::string sksdat;
  for (int i = 0; i < 2000; ++i) sksdat += "ABC,20240112,1012,18,19.5,17.5,18.5\r\n";
  std::vector<ZipMember> members = {{"sksdat.dat", sksdat}, {"sintab.fd", std::string("\xFF\x02\x01", 3)},
                                    {"motd.txt", ""}};
  std::string zip, error;
  ASSERT_EQ(BuildZip(members, 1705000000, &zip, &error), 0) << error;
  EXPECT_EQ(zip.substr(0, 4), testing::Hex("50 4b 03 04"));  // a local file header first
  EXPECT_LT(zip.size(), sksdat.size() / 10);                  // deflated
  std::vector<ZipMember> back;
  ASSERT_EQ(ReadZip(zip, &back, &error), 0) << error;
  ASSERT_EQ(back.size(), 3u);
  for (std::size_t i = 0; i < 3; ++i) {
    EXPECT_EQ(back[i].name, members[i].name);
    EXPECT_EQ(back[i].data, members[i].data);
  }
}

TEST(ZipArchiveTest, TheSameMembersAndTimeGiveTheSameBytes) {
  std::string a, b, error;
  ASSERT_EQ(BuildZip({{"sksdat.dat", "x\r\n"}}, 1705000000, &a, &error), 0);
  ASSERT_EQ(BuildZip({{"sksdat.dat", "x\r\n"}}, 1705000000, &b, &error), 0);
  EXPECT_EQ(a, b);
}

TEST(ZipArchiveTest, DamagedOrForeignBytesAreRefused) {
  std::string zip, error;
  ASSERT_EQ(BuildZip({{"sksdat.dat", std::string(5000, 'a')}}, 1705000000, &zip, &error), 0);
  std::vector<ZipMember> back;
  const std::string cases[] = {
      zip.substr(0, zip.size() / 2),
      zip.substr(0, zip.size() - 1),
      "",
      "not a zip at all",
  };
  for (const std::string& bytes : cases) EXPECT_EQ(ReadZip(bytes, &back, &error), -1) << bytes.size();
}

}  // namespace
}  // namespace kvqt::server
