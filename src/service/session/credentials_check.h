// The checks a download session makes on the user's login and password before
// it writes the request: the texts it shows when they are missing or unusable.
#pragma once

#include <string>
#include <string_view>

namespace kvqt {

inline constexpr std::size_t kCredentialLength = 8;

// The logins of the service that do not end in "vqx": six digits and two
// lower-case letters each. The service hands them out; none are built in.
bool IsSpecialLogin(std::string_view login);

// An ordinary login has "vqx" from its sixth character on.
bool IsOrdinaryLogin(std::string_view login);

// The message for a login or password that cannot be used, or an empty text
// when both will do.
std::string CredentialsProblem(std::string_view login, std::string_view password);

}  // namespace kvqt
