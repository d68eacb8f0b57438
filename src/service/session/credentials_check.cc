#include "service/session/credentials_check.h"

#include <array>

#include "app/core/compose.h"

namespace kvqt {
namespace {

// Each entry is six digits followed by two lower-case letters.
constexpr std::array<std::string_view, 0> kSpecialLogins = {};

}  // namespace

bool IsSpecialLogin(std::string_view login) {
  for (std::string_view special : kSpecialLogins) {
    if (login == special) return true;
  }
  return false;
}

bool IsOrdinaryLogin(std::string_view login) { return login.size() >= 5 && login.substr(5) == "vqx"; }

std::string CredentialsProblem(std::string_view login, std::string_view password) {
  if (login.empty()) return "Choose configure to enter a login";
  if (login.size() < kCredentialLength) return compose2("Login too short:", login);
  if (!IsOrdinaryLogin(login) && !IsSpecialLogin(login)) return "Invalid login/user number";
  if (password.empty()) return "Choose configure to enter a password";
  if (password.size() < kCredentialLength) return "Password too short";
  return std::string();
}

}  // namespace kvqt
