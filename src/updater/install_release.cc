#include "updater/install_release.h"

#include <poll.h>
#include <unistd.h>

#include <cstdio>

#include "app/core/compose.h"
#include "app/core/logs.h"
#include "app/core/messages.h"
#include "platform/launcher.h"
#include "platform/path.h"
#include "platform/program_dir.h"

namespace kvqt {

ReleaseInstall DefaultReleaseInstall() {
  ReleaseInstall install;
  install.program = platform::ExecutablePath();
  install.installer = platform::DirectoryPart(install.program) + kInstallerName;
  install.title = kProgramTitle;
  return install;
}

std::string InstallCommandLine(const ReleaseInstall& install) {
  return install.installer + " " + install.releaseFile + " " + install.program + " \"" + install.title + "\"";
}

namespace {

bool g_unattended = false;
bool g_toldUnattended = false;
bool g_installerStarted = false;

// Launcher results below this are failures.
constexpr int kFirstStartedResult = 32;

std::string InCurrentDirectory(const std::string& name) {
  if (!name.empty() && name.front() == '/') return name;
  char cwd[4096];
  if (::getcwd(cwd, sizeof cwd) == nullptr) return name;
  return platform::EnsureTrailingSeparator(cwd) + name;
}

void TellHowToInstall(const ReleaseInstall& install) {
  const std::string release = InCurrentDirectory(install.releaseFile);
  std::printf(
      "A new release is waiting in %s, but a run without a display cannot ask whether to install it.\n"
      "To install it, start %s with a display and answer Yes after the next download, or, while\n"
      "the program is not running: mv '%s' '%s' && chmod 755 '%s'\n",
      release.c_str(), install.program.c_str(), release.c_str(), install.program.c_str(), install.program.c_str());
  std::fflush(stdout);
}

}  // namespace

int installNewRelease(const ReleaseInstall& install) {
  if (!platform::FileExists(install.releaseFile)) return 0;
  if (install.installer.empty() || ::access(install.installer.c_str(), X_OK) != 0) return 0;
  if (g_unattended) {
    if (!g_toldUnattended) TellHowToInstall(install);
    g_toldUnattended = true;
    return 0;
  }
  if (!question(kInstallQuestion)) return 0;
  const int result =
      platform::StartProgram({install.installer, install.releaseFile, install.program, install.title});
  Logs::DebugAlways(composeInt(InstallCommandLine(install), result));
  if (result >= kFirstStartedResult) g_installerStarted = true;
  return result;
}

void SetUnattendedInstall(bool unattended) {
  g_unattended = unattended;
  g_toldUnattended = false;
}

bool ReleaseInstallerStarted() { return g_installerStarted; }

bool WaitForInstallerQuit(platform::InstanceEndpoint& endpoint, std::chrono::milliseconds limit) {
  using Clock = std::chrono::steady_clock;
  const Clock::time_point end = Clock::now() + limit;
  while (endpoint.listening()) {
    std::string request;
    while (endpoint.acceptRequest(request)) {
      if (request == platform::kQuitRequest) return true;
    }
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(end - Clock::now()).count();
    if (left <= 0) return false;
    pollfd p{endpoint.fd(), POLLIN, 0};
    ::poll(&p, 1, static_cast<int>(left));
  }
  return false;
}

void installNewRelease() { installNewRelease(DefaultReleaseInstall()); }

}  // namespace kvqt
