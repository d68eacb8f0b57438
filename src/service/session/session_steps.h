// The steps of the download session, one function each, and what they share:
// the options, the line protocol over the action's connection, and stopping
// with a message after closing the connection.
#pragma once

#include <string_view>

#include "app/core/action_info.h"
#include "app/runner/step_runner.h"
#include "service/line_protocol.h"
#include "service/session/session_options.h"

namespace kvqt::session {

int CheckAndRequest(StepRunner& runner, ActionInfo& action, int& counter);
int Connect(StepRunner& runner, ActionInfo& action, int& counter);
int SendLogin(StepRunner& runner, ActionInfo& action, int& counter);
int SendPassword(StepRunner& runner, ActionInfo& action, int& counter);
int Authorize(StepRunner& runner, ActionInfo& action, int& counter);
int ReadCredit(StepRunner& runner, ActionInfo& action, int& counter);
int Upload(StepRunner& runner, ActionInfo& action, int& counter);
int Receive(StepRunner& runner, ActionInfo& action, int& counter);
int Extract(StepRunner& runner, ActionInfo& action, int& counter);
int HandOver(StepRunner& runner, ActionInfo& action, int& counter);

// The action's options, or the defaults.
const SessionOptions& OptionsOf(const ActionInfo& action);

// Closes the action's connection (which hangs up a line dialled for it).
void CloseConnection(ActionInfo& action);

// Closes the connection, shows the error and returns `code`.
int Fail(StepRunner& runner, ActionInfo& action, std::string_view message, int code);

// The line protocol over the action's connection and receive buffer; only
// between the connect step and the close.
LineProtocol ProtocolOf(StepRunner& runner, ActionInfo& action);

}  // namespace kvqt::session
