#include "service/session/download_session.h"

#include "service/network.h"
#include "service/receive_buffer.h"
#include "service/session/session_steps.h"

namespace kvqt {
namespace session {

const SessionOptions& OptionsOf(const ActionInfo& action) {
  static const SessionOptions kDefaults;
  return action.sessionOptions ? *action.sessionOptions : kDefaults;
}

void CloseConnection(ActionInfo& action) {
  if (action.network) action.network->Close();
}

int Fail(StepRunner& runner, ActionInfo& action, std::string_view message, int code) {
  CloseConnection(action);
  runner.error(message);
  return code;
}

LineProtocol ProtocolOf(StepRunner& runner, ActionInfo& action) {
  return LineProtocol(*action.network, *action.receiveBuffer, runner);
}

}  // namespace session

int DownloadSession(StepRunner& runner, ActionInfo& action, int& counter) {
  if (counter >= 2 && counter <= 4) counter = kSessionSendLogin;
  // Every step after the connect step talks over the connection it made.
  if (counter > kSessionConnect && counter <= kSessionReceive && (!action.network || !action.receiveBuffer)) {
    runner.error("Connection lost");
    return kStepErrorShown;
  }
  switch (counter) {
    case kSessionCheck:
      return session::CheckAndRequest(runner, action, counter);
    case kSessionConnect:
      return session::Connect(runner, action, counter);
    case kSessionSendLogin:
      return session::SendLogin(runner, action, counter);
    case kSessionSendPassword:
      return session::SendPassword(runner, action, counter);
    case kSessionAuthorize:
      return session::Authorize(runner, action, counter);
    case kSessionCredit:
      return session::ReadCredit(runner, action, counter);
    case kSessionUpload:
      return session::Upload(runner, action, counter);
    case kSessionReceive:
      return session::Receive(runner, action, counter);
    case kSessionExtract:
      return session::Extract(runner, action, counter);
    case kSessionHandOver:
      return session::HandOver(runner, action, counter);
    default:
      return kStepFinished;
  }
}

}  // namespace kvqt
