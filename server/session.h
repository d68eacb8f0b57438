// The server's side of one download session: greeting, login and password,
// "Welcome" and the credit line, the acknowledged upload of the request file,
// the result archive, "Ready for result" and the acknowledged download, with
// the faults of the options committed on purpose.
//
// The client reads lines byte by byte up to the first CR or LF and takes
// single bytes as acknowledgements, so: nothing follows "Start upload" (its
// next read is the acknowledgement of its file name), the result's file name
// follows "Ready for result" directly, and the name and size lines end in a
// single LF.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "connection.h"
#include "result_builder.h"
#include "server_options.h"
#include "store.h"

namespace kvqt::server {

inline constexpr const char* kGreeting = "Norvale group download server\r\n";
inline constexpr std::size_t kBlockSize = 1024;
// The largest request file taken.
inline constexpr long kMaxUploadSize = 8L << 20;
inline constexpr char kAck = 6;
inline constexpr char kNak = 21;

using Logger = std::function<void(const std::string& line)>;

struct SessionReport {
  std::string login;
  // How it ended: "sent", "no access", "service denied", "silent", "stalled",
  // or what went wrong.
  std::string outcome;
  std::string upload;       // the request file received
  std::string archive;      // the result archive built
  std::vector<AnsweredLine> answers;
  int acks_sent = 0;        // during the upload (NAKs included)
  int acks_received = 0;    // during the download
};

SessionReport RunSession(Connection& connection, const Store& store, const ServerOptions& options,
                         const Logger& log);

// Bytes as printable text for the log: anything else as \xNN, cut at max.
std::string Printable(std::string_view bytes, std::size_t max = 120);

}  // namespace kvqt::server
