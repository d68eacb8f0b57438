// A program started by a test: its own environment changes, working
// directory and output files, a bounded wait, and a kill when the test ends
// with it still running.
#pragma once

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <map>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

namespace kvqt::testing {

class ChildProcess {
 public:
  struct Options {
    std::string workingDirectory;
    // Variables to set; an empty value removes the variable.
    std::map<std::string, std::string> environment;
    // Files for standard output and standard error ("" keeps the test's own).
    std::string stdoutFile;
    std::string stderrFile;
  };

  ChildProcess(const std::vector<std::string>& argv, const Options& options) {
    std::vector<std::string> env;
    for (char** e = environ; *e != nullptr; ++e) {
      std::string entry = *e;
      std::string name = entry.substr(0, entry.find('='));
      if (options.environment.count(name) == 0) env.push_back(entry);
    }
    for (const auto& [name, value] : options.environment) {
      if (!value.empty()) env.push_back(name + "=" + value);
    }
    std::vector<char*> args;
    for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    std::vector<char*> envp;
    for (std::string& e : env) envp.push_back(e.data());
    envp.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (!options.workingDirectory.empty()) {
      posix_spawn_file_actions_addchdir_np(&actions, options.workingDirectory.c_str());
    }
    if (!options.stdoutFile.empty()) {
      posix_spawn_file_actions_addopen(&actions, 1, options.stdoutFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    }
    if (!options.stderrFile.empty()) {
      posix_spawn_file_actions_addopen(&actions, 2, options.stderrFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    }
    posix_spawnattr_t attr;
    posix_spawnattr_init(&attr);
    // A group of its own, so that whatever it starts can be killed with it.
    posix_spawnattr_setpgroup(&attr, 0);
    posix_spawnattr_setflags(&attr, POSIX_SPAWN_SETPGROUP);
    if (posix_spawn(&pid_, args[0], &actions, &attr, args.data(), envp.data()) != 0) pid_ = -1;
    posix_spawnattr_destroy(&attr);
    posix_spawn_file_actions_destroy(&actions);
  }

  ~ChildProcess() { kill(); }
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  bool started() const { return pid_ > 0; }
  pid_t pid() const { return pid_; }

  // The exit code; -1 when it did not end in time (it is then killed) or was killed.
  int wait(std::chrono::milliseconds timeout) {
    if (pid_ <= 0) return exit_code_;
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
      int status = 0;
      pid_t done = ::waitpid(pid_, &status, WNOHANG);
      if (done == pid_) {
        pid_ = -1;
        exit_code_ = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        return exit_code_;
      }
      if (std::chrono::steady_clock::now() >= deadline) {
        kill();
        return -1;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
  }

  // Still running after the given time.
  bool stillRunningAfter(std::chrono::milliseconds time) {
    const auto deadline = std::chrono::steady_clock::now() + time;
    while (std::chrono::steady_clock::now() < deadline) {
      int status = 0;
      if (pid_ <= 0 || ::waitpid(pid_, &status, WNOHANG) == pid_) {
        if (pid_ > 0) exit_code_ = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        pid_ = -1;
        return false;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return true;
  }

  void kill() {
    if (pid_ <= 0) return;
    ::kill(-pid_, SIGKILL);
    ::kill(pid_, SIGKILL);
    ::waitpid(pid_, nullptr, 0);
    pid_ = -1;
  }

 private:
  pid_t pid_ = -1;
  int exit_code_ = -1;
};

// Waits until the condition holds, at most `timeout`.
template <typename Condition>
bool WaitUntil(Condition condition, std::chrono::milliseconds timeout) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  while (!condition()) {
    if (std::chrono::steady_clock::now() >= deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return true;
}

}  // namespace kvqt::testing
