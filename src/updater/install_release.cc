#include "updater/install_release.h"

#include <unistd.h>

#include "app/compose.h"
#include "app/logs.h"
#include "app/messages.h"
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

int installNewRelease(const ReleaseInstall& install) {
  if (!platform::FileExists(install.releaseFile)) return 0;
  if (install.installer.empty() || ::access(install.installer.c_str(), X_OK) != 0) return 0;
  if (!question(kInstallQuestion)) return 0;
  const int result =
      platform::StartProgram({install.installer, install.releaseFile, install.program, install.title});
  Logs::DebugAlways(composeInt(InstallCommandLine(install), result));
  return result;
}

void installNewRelease() { installNewRelease(DefaultReleaseInstall()); }

}  // namespace kvqt
