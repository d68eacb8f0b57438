// Steps 5 to 8 of the download session: the login and password, the server's
// answer, and the user's credit.
#include "app/core/compose.h"
#include "app/datafile/login_record.h"
#include "service/session/download_session.h"
#include "service/session/session_steps.h"

namespace kvqt::session {
namespace {

constexpr std::size_t kCreditLimit = 80;

}  // namespace

int SendLogin(StepRunner& runner, ActionInfo& action, int& counter) {
  runner.status("User authorization", true);
  LineProtocol protocol = ProtocolOf(runner, action);
  const std::string login = action.login != nullptr ? action.login->userNumber : std::string();
  protocol.SendLine(login, true);
  protocol.SendLine("\n", true);
  counter = kSessionSendPassword;
  return kStepGoOn;
}

int SendPassword(StepRunner& runner, ActionInfo& action, int& counter) {
  LineProtocol protocol = ProtocolOf(runner, action);
  const std::string password = action.login != nullptr ? action.login->password : std::string();
  protocol.SendLine(password, false);
  protocol.SendLine("\n", false);
  counter = kSessionAuthorize;
  return kStepGoOn;
}

int Authorize(StepRunner& runner, ActionInfo& action, int& counter) {
  const SessionTimeouts& timeouts = OptionsOf(action).timeouts;
  LineProtocol protocol = ProtocolOf(runner, action);
  switch (protocol.ExpectOneOf("Welcome", "no access", timeouts.authorization, true)) {
    case 1:
      break;
    case 2:
      return Fail(runner, action, "Login-id or password incorrect", kStepErrorShown);
    case 0:
      return Fail(runner, action, "Timeout during user authorization", kStepErrorShown);
    default:
      return Fail(runner, action, "Error during user authorization", kStepErrorShown);
  }
  switch (protocol.ExpectOneOf("Credit:", "Service denied", timeouts.credit, true)) {
    case 1:
      counter = kSessionCredit;
      return kStepGoOn;
    case 2:
      return Fail(runner, action, "Service not available", kStepErrorShown);
    case 0:
      return Fail(runner, action, "Timeout while waiting for credit", kStepErrorShown);
    default:
      return Fail(runner, action, "Error during user authorization", kStepErrorShown);
  }
}

int ReadCredit(StepRunner& runner, ActionInfo& action, int& counter) {
  action.creditText.clear();
  LineProtocol protocol = ProtocolOf(runner, action);
  // An empty credit text will do.
  protocol.ReadLine(&action.creditText, kCreditLimit, OptionsOf(action).timeouts.creditLine, true);
  runner.status(compose2("Credit:", action.creditText), true);
  counter = kSessionUpload;
  return kStepGoOn;
}

}  // namespace kvqt::session
