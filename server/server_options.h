// How "kvqt-server serve" runs: where it listens, which day it takes as
// today, its time-outs, and the faults it commits on purpose for tests.
#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <vector>

#include "datetime/date.h"

namespace kvqt::server {

inline constexpr int kDefaultPort = 17318;

struct Faults {
  bool refuse_login = false;   // answer every login with "no access"
  bool deny_service = false;   // "Welcome", then "Service denied"
  bool silent = false;         // accept the connection and say nothing
  bool stall = false;          // never say "Ready for result"
  std::chrono::milliseconds result_delay{0};  // say "Ready for result" only after this long
  long close_after = -1;       // cut the connection after this many bytes sent
  int nak_at = 0;              // the upload's n-th acknowledgement is a NAK (1: the name)
  std::optional<std::string> file_name;  // announce this result file name
  std::optional<std::string> file_size;  // announce this size text
  bool corrupt_zip = false;    // send a damaged archive
  std::optional<std::string> credit;      // announce this credit text instead of the user's
  std::vector<std::string> extra_members;  // also put members of these names, holding "JUNK", in the archive
  long extra_count = 0;        // also put this many small members "extra-N.txt" in the archive
  long bomb = 0;               // "motd.txt" holds this many blanks (a few kB once deflated)
};

struct ServerOptions {
  std::string database;
  std::string address = "127.0.0.1";
  int port = kDefaultPort;
  Date today;        // null: the clock's today
  int sessions = 0;  // serve this many sessions, then end; 0: no end
  // How long the server waits for the client's lines, bytes and acknowledgements.
  std::chrono::milliseconds timeout{std::chrono::seconds(60)};
  // How long a silent or stalling server keeps a connection open.
  std::chrono::milliseconds stall_time{std::chrono::seconds(3700)};
  Faults faults;
};

// The options after "serve": DB first, then options. 0, or -1 with a message.
int ParseServeOptions(const std::vector<std::string>& args, ServerOptions* options, std::string* error);

// Usage text of the serve command's options.
const char* ServeOptionsHelp();

}  // namespace kvqt::server
