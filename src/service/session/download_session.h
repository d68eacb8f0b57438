// The download session: one step function, run by the progress dialog, that
// checks the user's identification, writes the request, connects, logs in,
// reads the credit, uploads the request, waits for and receives the result,
// extracts it, applies the symbol-table feed and the message of the day that
// came with it, and hands over to the import (through the split-factor step
// when the user asked for it).
#pragma once

#include "app/runner/step_runner.h"

namespace kvqt {

struct ActionInfo;

// The total the dialog runs the session with (counter 0 to 12), and its title.
inline constexpr int kDownloadSessionSteps = 13;
inline constexpr const char* kDownloadSessionTitle = "Download Session";

// Step counter values. 2 to 4 are not used: the connect step goes on at 5.
inline constexpr int kSessionCheck = 0;
inline constexpr int kSessionConnect = 1;
inline constexpr int kSessionSendLogin = 5;
inline constexpr int kSessionSendPassword = 6;
inline constexpr int kSessionAuthorize = 7;
inline constexpr int kSessionCredit = 8;
inline constexpr int kSessionUpload = 9;
inline constexpr int kSessionReceive = 10;
inline constexpr int kSessionExtract = 11;
inline constexpr int kSessionHandOver = 12;

// Stop codes besides kStepErrorShown (-5).
inline constexpr int kSessionTransferFailed = -9;
inline constexpr int kSessionExtractFailed = -4;

// The message of the day that may come with the result, in the working
// (program) directory.
inline constexpr const char* kMessageOfTheDayFile = "motd.txt";

// 0 to be called again with the advanced counter; -5 after an error shown,
// -9 after a failed transfer, -4 after a failed extraction. The last step
// installs the next step function in the runner and returns 0.
int DownloadSession(StepRunner& runner, ActionInfo& action, int& counter);

}  // namespace kvqt
