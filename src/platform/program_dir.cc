#include "platform/program_dir.h"

#include <unistd.h>

#include <cstdlib>

#include "platform/absolute_path.h"
#include "platform/path.h"

namespace kvqt::platform {
namespace {

std::string Env(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

// $XDG_<kind>_HOME, or ~/<fallback> when unset or not absolute.
std::string XdgHome(const char* variable, const char* fallback) {
  std::string dir = Env(variable);
  if (!IsAbsolutePath(dir)) dir = EnsureTrailingSeparator(Env("HOME")) + fallback;
  return EnsureTrailingSeparator(dir);
}

}  // namespace

std::string ExecutablePath() {
  char buffer[4096];
  ssize_t n = ::readlink("/proc/self/exe", buffer, sizeof buffer - 1);
  if (n <= 0) return "";
  return std::string(buffer, static_cast<std::size_t>(n));
}

std::string LocateProgramDirectory(const std::string& executable_path) {
  std::string home = Env("KVQT_HOME");
  if (!home.empty()) {
    // Start-up changes into the program directory, so a relative one must be
    // fixed to where the user stands first.
    if (!IsAbsolutePath(home)) home = AbsoluteFrom(CurrentDirectory(), home);
    return EnsureTrailingSeparator(home);
  }
  std::string exe_dir = DirectoryPart(executable_path);
  if (!exe_dir.empty() && ::access(exe_dir.c_str(), W_OK) == 0 &&
      (FileExists(FindFileNoCase(exe_dir, "kvqt.dat")) || FileExists(FindFileNoCase(exe_dir, "kvqt.prs")))) {
    return exe_dir;
  }
  return XdgHome("XDG_DATA_HOME", ".local/share/") + "kvqt/";
}

std::string ResolveProgramDirectory(const std::string& executable_path) {
  std::string directory = LocateProgramDirectory(executable_path);
  MakeDirectories(directory);
  return directory;
}

std::string InstalledDocumentationDirectory(const std::string& executable_path) {
  const std::string dir = DirectoryPart(executable_path);
  if (dir.empty()) return std::string();
  return EnsureTrailingSeparator(AbsoluteFrom(dir, "../share/doc/kvqt/"));
}

bool ExecutableReplaceable(const std::string& executable_path) {
  const std::string dir = DirectoryPart(executable_path);
  return !dir.empty() && ::access(dir.c_str(), W_OK) == 0 &&
         !DirectoryExists(InstalledDocumentationDirectory(executable_path));
}

std::string SettingsFilePath() { return XdgHome("XDG_CONFIG_HOME", ".config/") + "kvqt/kvqt.ini"; }

}  // namespace kvqt::platform
