// The configuration wizard's user page: the login name is the first five
// digits of the user number with the suffix "vqx"; the password has exactly
// eight characters.
#pragma once

#include <string>
#include <string_view>

namespace kvqt {

struct LoginRecord;

inline constexpr const char* kLoginSuffix = "vqx";

// The login name for what was typed as user number; "" when it does not start
// with five digits.
std::string WizardLoginName(std::string_view userNumber);
bool WizardPasswordValid(std::string_view password);

// Which field the user page selects again after its message.
enum class UserPageField { None, UserNumber, Password };

// The page's "Next": checks both fields (showing the message of the first
// that fails, captioned in the language) and then puts the login name and the
// password into the login record.
UserPageField ApplyUserPage(LoginRecord& login, std::string_view userNumber, std::string_view password,
                            int language);

}  // namespace kvqt
