// SIGINT and SIGTERM during a batch run: caught and kept for the run to treat
// as Cancel (the step under way is finished, the data saved, and the program
// exits with 128 + the signal's number, as a shell reports a killed program).
// The first signal restores the default action, so a second one ends the
// program at once.
#pragma once

namespace kvqt::platform {

// Installs the handlers; the pending signal is cleared.
void CatchStopSignals();
// The default actions again (tests).
void ReleaseStopSignals();

// The signal caught since CatchStopSignals, or 0.
int PendingStopSignal();

// A descriptor that becomes readable once a signal was caught, for an event
// loop to watch; -1 before CatchStopSignals.
int StopSignalDescriptor();

// The exit code of a run ended by `signal`: 130 for SIGINT, 143 for SIGTERM.
inline int StopSignalExitCode(int signal) { return 128 + signal; }

}  // namespace kvqt::platform
