#include "updater/tarnswap/tarnswap.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>

#include "updater/tarnswap/window_endpoint.h"

extern char** environ;

namespace tarnswap {
namespace {

void Log(const char* text) {
  if (std::FILE* log = std::fopen(kLogName, "ab")) {
    std::fprintf(log, "%s\r\n", text);
    std::fclose(log);
  }
}

// One second; the tests shorten it through TARNSWAP_WAIT_MS.
void WaitOneSecond() {
  long ms = 1000;
  if (const char* text = std::getenv("TARNSWAP_WAIT_MS")) {
    char* end = nullptr;
    long value = std::strtol(text, &end, 10);
    if (end != text && *end == '\0' && value >= 0 && value <= 1000) ms = value;
  }
  timespec pause{ms / 1000, (ms % 1000) * 1000000L};
  while (::nanosleep(&pause, &pause) != 0 && errno == EINTR) {
  }
}

// Writes the release beside the program under a temporary name, for a
// release that lies on another file system than the program.
bool CopyBeside(const char* from, const std::string& temp, mode_t mode) {
  int in = ::open(from, O_RDONLY | O_CLOEXEC);
  if (in < 0) return false;
  int out = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
  bool ok = out >= 0;
  char buffer[65536];
  while (ok) {
    ssize_t n = ::read(in, buffer, sizeof buffer);
    if (n == 0) break;
    if (n < 0) {
      ok = false;
      break;
    }
    for (ssize_t done = 0; ok && done < n;) {
      ssize_t w = ::write(out, buffer + done, static_cast<std::size_t>(n - done));
      if (w <= 0) ok = false;
      else done += w;
    }
  }
  if (out >= 0 && ::close(out) != 0) ok = false;
  ::close(in);
  if (!ok && out >= 0) ::unlink(temp.c_str());
  return ok;
}

// The release takes the program's place in one rename, so the program file
// is at every moment either the old program or the new one. False when it
// could not: the old program is then where it was.
bool Replace(const char* release, const char* program) {
  // The new file gets the old one's permissions, run permission included;
  // a downloaded file has none of its own.
  mode_t mode = 0;
  struct stat st;
  if (::stat(program, &st) == 0) {
    mode = st.st_mode & 07777;
  } else if (::stat(release, &st) == 0) {
    mode = (st.st_mode & 0777) | ((st.st_mode & 0444) >> 2);
  } else {
    mode = 0755;
  }
  if (::stat(release, &st) != 0 || !S_ISREG(st.st_mode)) return false;
  ::chmod(release, mode);
  if (::rename(release, program) == 0) return true;
  if (errno != EXDEV) return false;
  const std::string temp = std::string(program) + ".new";
  if (!CopyBeside(release, temp, mode)) return false;
  ::chmod(temp.c_str(), mode);
  if (::rename(temp.c_str(), program) != 0) {
    ::unlink(temp.c_str());
    return false;
  }
  ::unlink(release);
  return true;
}

// False when the program could not be started.
bool StartDetached(const char* program) {
  posix_spawnattr_t attr;
  if (posix_spawnattr_init(&attr) != 0) return false;
  sigset_t none;
  sigemptyset(&none);
  posix_spawnattr_setsigmask(&attr, &none);
  posix_spawnattr_setflags(&attr, POSIX_SPAWN_SETSID | POSIX_SPAWN_SETSIGMASK);
  char* args[] = {const_cast<char*>(program), nullptr};
  pid_t pid = 0;
  const bool started = posix_spawn(&pid, program, nullptr, &attr, args, environ) == 0;
  posix_spawnattr_destroy(&attr);
  return started;
}

}  // namespace

int Run(int argc, const char* const* argv) {
  if (argc != 4) return 1;
  const char* release = argv[1];
  const char* program = argv[2];
  const std::string title = argv[3];

  for (int waits = 0; !WindowFound(title); ++waits) {
    if (waits == kMaxWaits) {
      Log("Waited long enough");
      return 1;
    }
    Log("Wait for executable to start");
    WaitOneSecond();
  }

  PostQuit(title);

  for (int waits = 0; WindowFound(title); ++waits) {
    if (waits == kMaxWaits) {
      Log("Waited long enough on exit");
      return 1;
    }
    Log("Wait for executable to exit");
    WaitOneSecond();
  }

  // When the release cannot take its place, the old program is started
  // again, so the user is not left without it; the release stays for the
  // next attempt. Either way, 0 only when the new program runs.
  const bool replaced = Replace(release, program);
  if (!replaced) Log("Cannot replace the executable; the old one is kept");
  if (!StartDetached(program)) {
    Log("Cannot start the executable");
    return 1;
  }
  return replaced ? 0 : 1;
}

}  // namespace tarnswap
