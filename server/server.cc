#include "server.h"

#include <cstdio>

#include "connection.h"

namespace kvqt::server {

void LogToStderr(const std::string& line) { std::fprintf(stderr, "kvqt-server: %s\n", line.c_str()); }

Server::Server(const Store& store, const ServerOptions& options, Logger log)
    : store_(store), options_(options), log_(std::move(log)) {}

Server::~Server() { platform::CloseSocket(listener_); }

int Server::Listen(std::string* error) {
  platform::Ipv4Address address = 0;
  if (!platform::ParseDottedAddress(options_.address, &address)) {
    *error = "not an address: " + options_.address;
    return -1;
  }
  int code = platform::ListenTcp(address, options_.port, &listener_, &port_);
  if (code != 0) {
    *error = "cannot listen on " + options_.address + ":" + std::to_string(options_.port) + " (error " +
             std::to_string(code) + ")";
    return -1;
  }
  return 0;
}

int Server::Run() {
  int served = 0;
  while (!stop_ && (options_.sessions == 0 || served < options_.sessions)) {
    platform::SocketHandle socket = platform::kInvalidSocket;
    // Short waits, so that Stop() is noticed.
    int code = platform::AcceptConnection(listener_, 100, &socket);
    if (code == platform::kSocketTimedOut) continue;
    if (code != 0) {
      log_("accept failed (error " + std::to_string(code) + ")");
      continue;
    }
    ++served;
    const std::string prefix = "session " + std::to_string(served) + ": ";
    Logger session_log = [this, &prefix](const std::string& line) { log_(prefix + line); };
    session_log("connected");
    Connection connection(socket, options_.faults.close_after);
    last_report_ = RunSession(connection, store_, options_, session_log);
  }
  return served;
}

}  // namespace kvqt::server
