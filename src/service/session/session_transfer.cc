// Steps 9 to 11 of the download session: the request goes up, the result
// comes down, and the result archive is extracted.
#include "app/core/compose.h"
#include "service/request_file.h"
#include "service/session/download_session.h"
#include "service/session/file_transfer.h"
#include "service/session/result_archive.h"
#include "service/session/session_steps.h"

namespace kvqt::session {

int Upload(StepRunner& runner, ActionInfo& action, int& counter) {
  const SessionTimeouts& timeouts = OptionsOf(action).timeouts;
  LineProtocol protocol = ProtocolOf(runner, action);
  if (!protocol.ExpectText("Start upload", timeouts.uploadPrompt, true)) {
    return Fail(runner, action, "Timeout while waiting for upload", kStepErrorShown);
  }
  runner.terminalOutput('\n');
  FileTransfer transfer(protocol, runner, timeouts);
  if (!transfer.SendFile(kRequestFileName)) {
    return Fail(runner, action, "Sending definition file failed", kSessionTransferFailed);
  }
  runner.status(compose2("Creating datafile\nCredit:", action.creditText), true);
  if (!protocol.ExpectText("Ready for result", timeouts.result, true)) {
    return Fail(runner, action, "Timeout while waiting for result", kStepErrorShown);
  }
  runner.terminalOutput('\n');
  counter = kSessionReceive;
  return kStepGoOn;
}

int Receive(StepRunner& runner, ActionInfo& action, int& counter) {
  runner.status("Receiving datafile", true);
  LineProtocol protocol = ProtocolOf(runner, action);
  FileTransfer transfer(protocol, runner, OptionsOf(action).timeouts);
  // The result archive and nothing else: a name of the server's choosing could
  // be one of the program's own files.
  transfer.acceptOnly(kResultArchiveName);
  if (!transfer.ReceiveFile()) {
    return Fail(runner, action, "Receiving datafile failed", kSessionTransferFailed);
  }
  runner.status("Close session", true);
  CloseConnection(action);
  counter = kSessionExtract;
  return kStepGoOn;
}

int Extract(StepRunner& runner, ActionInfo& /*action*/, int& counter) {
  runner.status("Decompress datafile", true);
  const int result = ExtractArchive(kResultArchiveName);
  if (result != kExtractOk) {
    runner.error(composeInt("Decompressing datafile failed", result));
    return kSessionExtractFailed;
  }
  counter = kSessionHandOver;
  return kStepGoOn;
}

}  // namespace kvqt::session
