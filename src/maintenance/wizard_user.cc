#include "maintenance/wizard_user.h"

#include "app/datafile/login_record.h"
#include "app/core/messages.h"
#include "maintenance/wizard_texts.h"

namespace kvqt {

std::string WizardLoginName(std::string_view userNumber) {
  if (userNumber.size() < 5) return std::string();
  for (std::size_t i = 0; i < 5; ++i)
    if (userNumber[i] < '0' || userNumber[i] > '9') return std::string();
  return std::string(userNumber.substr(0, 5)) + kLoginSuffix;
}

bool WizardPasswordValid(std::string_view password) { return password.size() == 8; }

UserPageField ApplyUserPage(LoginRecord& login, std::string_view userNumber, std::string_view password,
                            int language) {
  const std::string name = WizardLoginName(userNumber);
  if (name.empty()) {
    errorMessage(WizardMessage(kErrorInvalidUserName, language), language);
    return UserPageField::UserNumber;
  }
  if (!WizardPasswordValid(password)) {
    errorMessage(WizardMessage(kErrorInvalidPassword, language), language);
    return UserPageField::Password;
  }
  login.userNumber = name;
  login.password = std::string(password);
  return UserPageField::None;
}

}  // namespace kvqt
