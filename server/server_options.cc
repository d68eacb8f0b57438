#include "server_options.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>

#include "platform/socket.h"
#include "request_line.h"

namespace kvqt::server {
namespace {

bool ParseLong(const std::string& text, long min, long max, long* out) {
  if (text.empty()) return false;
  char* end = nullptr;
  errno = 0;
  long value = std::strtol(text.c_str(), &end, 10);
  if (errno != 0 || *end != '\0' || value < min || value > max) return false;
  *out = value;
  return true;
}

bool ParseSeconds(const std::string& text, std::chrono::milliseconds* out) {
  if (text.empty()) return false;
  char* end = nullptr;
  double value = std::strtod(text.c_str(), &end);
  if (*end != '\0' || !std::isfinite(value) || value < 0.01 || value > 86400) return false;
  *out = std::chrono::milliseconds(static_cast<long long>(value * 1000));
  return true;
}

}  // namespace

const char* ServeOptionsHelp() {
  return "  --port N            listen on port N (default 17318; 0 picks a free port)\n"
         "  --address A         listen on address A (default 127.0.0.1)\n"
         "  --today YYYYMMDD    the day real-time prices are for (default: today)\n"
         "  --sessions N        end after N sessions (default: never)\n"
         "  --timeout S         seconds to wait for the client (default 60)\n"
         "  --stall-time S      seconds a silent or stalling server holds on (default 3700)\n"
         "faults, for tests:\n"
         "  --refuse-login      answer every login with \"no access\"\n"
         "  --deny-service      answer \"Service denied\" after \"Welcome\"\n"
         "  --silent            accept connections and say nothing\n"
         "  --stall             never say \"Ready for result\"\n"
         "  --result-delay S    say \"Ready for result\" only after S seconds\n"
         "  --close-after N     cut the connection after N bytes sent\n"
         "  --nak-at N          make the upload's N-th acknowledgement a NAK (1 = the name)\n"
         "  --file-name NAME    announce NAME as the result's file name\n"
         "  --file-size TEXT    announce TEXT as the result's size\n"
         "  --corrupt-zip       send a damaged archive\n"
         "  --credit TEXT       announce TEXT as the credit (control characters included)\n"
         "  --extra-member NAME also put a member NAME holding \"JUNK\" in the archive (repeatable)\n"
         "  --extra-members N   also put N small members extra-1.txt ... in the archive\n"
         "  --bomb N            make motd.txt N blanks, which deflate to almost nothing\n";
}

int ParseServeOptions(const std::vector<std::string>& args, ServerOptions* options, std::string* error) {
  if (args.empty() || args[0].empty() || args[0][0] == '-') {
    *error = "serve needs the database file";
    return -1;
  }
  options->database = args[0];
  for (std::size_t i = 1; i < args.size(); ++i) {
    const std::string& name = args[i];
    Faults& faults = options->faults;
    if (name == "--refuse-login") {
      faults.refuse_login = true;
      continue;
    }
    if (name == "--deny-service") {
      faults.deny_service = true;
      continue;
    }
    if (name == "--silent") {
      faults.silent = true;
      continue;
    }
    if (name == "--stall") {
      faults.stall = true;
      continue;
    }
    if (name == "--corrupt-zip") {
      faults.corrupt_zip = true;
      continue;
    }
    if (i + 1 >= args.size()) {
      *error = "unknown option or missing value: " + name;
      return -1;
    }
    const std::string& value = args[++i];
    long n = 0;
    bool ok = true;
    if (name == "--port") {
      ok = ParseLong(value, 0, 65535, &n);
      options->port = static_cast<int>(n);
    } else if (name == "--address") {
      platform::Ipv4Address address;
      ok = platform::ParseDottedAddress(value, &address);
      options->address = value;
    } else if (name == "--today") {
      int date = ParseDateField(value);
      ok = date > 0;
      options->today = Date::FromValue(date);
    } else if (name == "--sessions") {
      ok = ParseLong(value, 1, 1000000, &n);
      options->sessions = static_cast<int>(n);
    } else if (name == "--timeout") {
      ok = ParseSeconds(value, &options->timeout);
    } else if (name == "--stall-time") {
      ok = ParseSeconds(value, &options->stall_time);
    } else if (name == "--result-delay") {
      ok = ParseSeconds(value, &faults.result_delay);
    } else if (name == "--close-after") {
      ok = ParseLong(value, 0, 1L << 40, &faults.close_after);
    } else if (name == "--nak-at") {
      ok = ParseLong(value, 1, 1000000, &n);
      faults.nak_at = static_cast<int>(n);
    } else if (name == "--file-name") {
      faults.file_name = value;
    } else if (name == "--file-size") {
      faults.file_size = value;
    } else if (name == "--credit") {
      faults.credit = value;
    } else if (name == "--extra-member") {
      faults.extra_members.push_back(value);
    } else if (name == "--extra-members") {
      ok = ParseLong(value, 0, 1000000, &faults.extra_count);
    } else if (name == "--bomb") {
      ok = ParseLong(value, 0, 1L << 40, &faults.bomb);
    } else {
      *error = "unknown option: " + name;
      return -1;
    }
    if (!ok) {
      *error = "bad value for " + name + ": " + value;
      return -1;
    }
  }
  return 0;
}

}  // namespace kvqt::server
