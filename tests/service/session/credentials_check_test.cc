#include "service/session/credentials_check.h"

#include <gtest/gtest.h>

namespace kvqt {
namespace {

TEST(CredentialsCheckTest, MessagesInTheOrderTheyAreChecked) {
  const struct {
    const char* login;
    const char* password;
    const char* message;
  } cases[] = {
      {"demo0vqx", "demopass", ""},
      {"12345vqx", "12345678", ""},
      {"", "demopass", "Choose configure to enter a login"},
      {"", "", "Choose configure to enter a login"},
      {"demo0vq", "demopass", "Login too short: demo0vq"},
      {"a", "", "Login too short: a"},
      {"demo0abc", "demopass", "Invalid login/user number"},
      {"123456ab", "demopass", "Invalid login/user number"},  // no special logins are built in
      {"demo0vqx", "", "Choose configure to enter a password"},
      {"demo0vqx", "short", "Password too short"},
      {"demo0vqx", "1234567", "Password too short"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(CredentialsProblem(c.login, c.password), c.message) << c.login << " / " << c.password;
  }
}

TEST(CredentialsCheckTest, OrdinaryLoginsEndInVqxFromTheSixthCharacter) {
  EXPECT_TRUE(IsOrdinaryLogin("abcdevqx"));
  EXPECT_FALSE(IsOrdinaryLogin("abcdvqxx"));
  EXPECT_FALSE(IsOrdinaryLogin("abcdefvqx"));
  EXPECT_FALSE(IsSpecialLogin("123456ab"));
}

}  // namespace
}  // namespace kvqt
