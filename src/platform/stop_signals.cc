#include "platform/stop_signals.h"

#include <fcntl.h>
#include <unistd.h>

#include <csignal>

namespace kvqt::platform {
namespace {

volatile std::sig_atomic_t g_signal = 0;
int g_pipe[2] = {-1, -1};

extern "C" void OnStopSignal(int signal) {
  if (g_signal == 0) g_signal = signal;
  if (g_pipe[1] >= 0) {
    const char byte = 1;
    // Nothing to do when the pipe is full: it is readable already.
    [[maybe_unused]] ssize_t n = ::write(g_pipe[1], &byte, 1);
  }
}

void Install(int signal) {
  struct sigaction action {};
  action.sa_handler = OnStopSignal;
  sigemptyset(&action.sa_mask);
  // SA_RESETHAND: a second signal is not caught; no SA_RESTART, so a wait in
  // a system call returns and the run sees the signal at once.
  action.sa_flags = SA_RESETHAND;
  ::sigaction(signal, &action, nullptr);
}

}  // namespace

void CatchStopSignals() {
  if (g_pipe[0] < 0 && ::pipe2(g_pipe, O_CLOEXEC | O_NONBLOCK) != 0) g_pipe[0] = g_pipe[1] = -1;
  g_signal = 0;
  Install(SIGINT);
  Install(SIGTERM);
}

void ReleaseStopSignals() {
  std::signal(SIGINT, SIG_DFL);
  std::signal(SIGTERM, SIG_DFL);
  g_signal = 0;
}

int PendingStopSignal() { return g_signal; }

int StopSignalDescriptor() { return g_pipe[0]; }

}  // namespace kvqt::platform
