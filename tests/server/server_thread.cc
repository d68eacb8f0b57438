#include "server_thread.h"

namespace kvqt::testing {

server::ServerOptions TestOptions() {
  server::ServerOptions options;
  options.port = 0;
  options.sessions = 1;
  options.today = Date::FromValue(20240112);
  options.timeout = std::chrono::seconds(2);
  options.stall_time = std::chrono::seconds(3);
  return options;
}

ServerThread::ServerThread(const server::Store& store, server::ServerOptions options)
    : server_(store, options, [this](const std::string& line) {
        std::lock_guard<std::mutex> lock(mutex_);
        log_.push_back(line);
      }) {
  std::string error;
  listening_ = server_.Listen(&error) == 0;
  if (listening_) thread_ = std::thread([this] { server_.Run(); });
}

ServerThread::~ServerThread() {
  server_.Stop();
  if (thread_.joinable()) thread_.join();
}

const server::SessionReport& ServerThread::Join() {
  if (thread_.joinable()) thread_.join();
  return server_.lastReport();
}

std::vector<std::string> ServerThread::log() {
  std::lock_guard<std::mutex> lock(mutex_);
  return log_;
}

}  // namespace kvqt::testing
