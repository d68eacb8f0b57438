// Step 1 of the download session: the connection to the download server.
#include <memory>

#include "app/core/compose.h"
#include "app/datafile/user_info.h"
#include "service/network.h"
#include "service/receive_buffer.h"
#include "service/session/destination.h"
#include "service/session/download_session.h"
#include "service/session/session_steps.h"

namespace kvqt::session {
namespace {

constexpr int kHostNotFound = 11001;

std::string ConnectFailure(const StepRunner& runner, const ServerDestination& destination, int error) {
  if (runner.cancelled()) return "Connection cancelled";
  if (error == kHostNotFound) {
    return composeFormat("%.80s not found", destination.isDefault ? "Download server" : destination.host.c_str());
  }
  if (error != 0) return composeFormat("Unable to connect (%d %.80s)", error, TNetwork::ErrorText(error));
  return "Connection timed out";
}

}  // namespace

int Connect(StepRunner& runner, ActionInfo& action, int& counter) {
  const SessionOptions& options = OptionsOf(action);
  action.network = std::make_shared<TNetwork>(options.dialup);
  if (!action.network->libraryStarted()) {
    action.network.reset();
    runner.error("WSAStartup failed");
    return kStepErrorShown;
  }
  if (options.resolver) action.network->setResolver(options.resolver);
  if (!action.receiveBuffer) action.receiveBuffer = std::make_shared<ReceiveBuffer>();
  // Bytes left from an earlier connection belong to no one now.
  action.receiveBuffer->clear();

  const ServerDestination destination =
      ParseDestination(action.userInfo != nullptr ? action.userInfo->NetworkDestination : std::string());
  runner.status("Connecting to Norvale group...", true);
  int error = 0;
  if (action.network->Connect(destination.host, destination.port, options.timeouts.connect, runner, &error)) {
    counter = kSessionSendLogin;
    return kStepGoOn;
  }
  // A failed attempt may still hold a dialled line; it goes down with the close.
  return Fail(runner, action, ConnectFailure(runner, destination, error), kStepErrorShown);
}

}  // namespace kvqt::session
