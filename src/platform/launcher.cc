#include "platform/launcher.h"

#include <spawn.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <mutex>

extern char** environ;

namespace kvqt::platform {
namespace {

std::mutex g_mutex;
std::vector<pid_t> g_started;

int StartResultFromErrno(int error) {
  switch (error) {
    case ENOENT:
      return kStartFileNotFound;
    case ENOTDIR:
    case ENAMETOOLONG:
    case ELOOP:
      return kStartPathNotFound;
    case EACCES:
    case EPERM:
      return kStartAccessDenied;
    case ENOEXEC:
      return kStartBadFormat;
    default:
      return kStartFailed;
  }
}

std::vector<std::string> SplitWords(const std::string& text) {
  std::vector<std::string> words;
  std::string word;
  for (char c : text) {
    if (c == ' ' || c == '\t') {
      if (!word.empty()) words.push_back(word);
      word.clear();
    } else {
      word.push_back(c);
    }
  }
  if (!word.empty()) words.push_back(word);
  return words;
}

}  // namespace

void ReapStartedPrograms() {
  std::lock_guard<std::mutex> lock(g_mutex);
  for (auto it = g_started.begin(); it != g_started.end();) {
    int status = 0;
    pid_t done = ::waitpid(*it, &status, WNOHANG);
    if (done == *it || (done < 0 && errno == ECHILD)) {
      it = g_started.erase(it);
    } else {
      ++it;
    }
  }
}

int StartProgram(const std::vector<std::string>& argv) {
  ReapStartedPrograms();
  if (argv.empty() || argv[0].empty()) return kStartFileNotFound;

  std::vector<char*> args;
  for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
  args.push_back(nullptr);

  posix_spawnattr_t attr;
  if (posix_spawnattr_init(&attr) != 0) return kStartFailed;
  // The started program must not share our session or inherit signal
  // dispositions set up for us (an ignored SIGPIPE, a blocked signal).
  sigset_t none;
  sigemptyset(&none);
  sigset_t defaults;
  sigemptyset(&defaults);
  for (int s : {SIGINT, SIGQUIT, SIGPIPE, SIGTERM, SIGCHLD, SIGHUP, SIGUSR1, SIGUSR2}) sigaddset(&defaults, s);
  posix_spawnattr_setsigmask(&attr, &none);
  posix_spawnattr_setsigdefault(&attr, &defaults);
  posix_spawnattr_setflags(&attr, POSIX_SPAWN_SETSID | POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);

  pid_t pid = 0;
  const bool search = argv[0].find('/') == std::string::npos;
  int error = search ? posix_spawnp(&pid, args[0], nullptr, &attr, args.data(), environ)
                     : posix_spawn(&pid, args[0], nullptr, &attr, args.data(), environ);
  posix_spawnattr_destroy(&attr);
  if (error != 0) return StartResultFromErrno(error);

  std::lock_guard<std::mutex> lock(g_mutex);
  g_started.push_back(pid);
  return kStartSucceeded;
}

std::vector<std::string> FileOpenerCommand() {
  const char* editor = std::getenv("KVQT_EDITOR");
  if (editor != nullptr) {
    std::vector<std::string> words = SplitWords(editor);
    if (!words.empty()) return words;
  }
  return {"xdg-open"};
}

std::string FileOpenerName() { return FileOpenerCommand().front(); }

int OpenFile(const std::string& path) {
  std::vector<std::string> command = FileOpenerCommand();
  command.push_back(path);
  return StartProgram(command);
}

}  // namespace kvqt::platform
