// The listening server: one session after another on one address and port,
// each logged line by line.
#pragma once

#include <atomic>
#include <string>

#include "server_options.h"
#include "session.h"
#include "store.h"

namespace kvqt::server {

class Server {
 public:
  Server(const Store& store, const ServerOptions& options, Logger log);
  ~Server();
  Server(const Server&) = delete;
  Server& operator=(const Server&) = delete;

  // Binds and listens; 0, or -1 with the reason in *error.
  int Listen(std::string* error);
  // The port listened on (the one picked when the options asked for 0).
  int port() const { return port_; }
  // Serves sessions until Stop() or the options' session count; returns the
  // number served.
  int Run();
  // Ends Run() after the current session; callable from another thread.
  void Stop() { stop_ = true; }
  // The report of the last session served (tests).
  const SessionReport& lastReport() const { return last_report_; }

 private:
  const Store& store_;
  ServerOptions options_;
  Logger log_;
  platform::SocketHandle listener_ = platform::kInvalidSocket;
  int port_ = 0;
  std::atomic<bool> stop_{false};
  SessionReport last_report_;
};

// Writes "kvqt-server: " and the line to standard error.
void LogToStderr(const std::string& line);

}  // namespace kvqt::server
