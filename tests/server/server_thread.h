// A server on 127.0.0.1 (a free port) on its own thread for one test: it
// serves the given number of sessions and keeps its log lines.
#pragma once

#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "server.h"

namespace kvqt::testing {

class ServerThread {
 public:
  ServerThread(const server::Store& store, server::ServerOptions options);
  ~ServerThread();
  ServerThread(const ServerThread&) = delete;
  ServerThread& operator=(const ServerThread&) = delete;

  int port() const { return server_.port(); }
  bool listening() const { return listening_; }
  // Waits for the sessions to end; the report is that of the last session.
  const server::SessionReport& Join();
  std::vector<std::string> log();

 private:
  server::Server server_;
  std::mutex mutex_;
  std::vector<std::string> log_;
  bool listening_ = false;
  std::thread thread_;
};

// Options for tests: an ephemeral port, one session, short waits.
server::ServerOptions TestOptions();

}  // namespace kvqt::testing
