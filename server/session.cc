#include "session.h"

#include <cstdio>

#include "platform/clock.h"
#include "zip_archive.h"

namespace kvqt::server {
namespace {

using Read = Connection::Read;

const char* ReadText(Read r) {
  switch (r) {
    case Read::kOk:
      return "ok";
    case Read::kTimedOut:
      return "timed out";
    case Read::kClosed:
      return "connection closed";
    case Read::kTooLong:
      return "line too long";
  }
  return "?";
}

// A size line of digits only, within the limit; -1 otherwise.
long ParseSize(const std::string& text, long limit) {
  if (text.empty() || text.size() > 12) return -1;
  long value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return -1;
    value = value * 10 + (c - '0');
  }
  return value <= limit ? value : -1;
}

// The credit goes on one line of at most 80 characters, as the client reads it.
std::string CreditLine(const std::string& credit) {
  std::string line;
  for (char c : credit) {
    if (c == '\r' || c == '\n') break;
    line.push_back(c);
  }
  return line.substr(0, 80);
}

// Damages the archive beyond repair: the end record's signature goes, and a
// byte in the middle flips.
void Corrupt(std::string& zip) {
  std::size_t end = zip.rfind(std::string("PK\x05\x06", 4));
  if (end != std::string::npos) zip.replace(end, 4, "XXXX");
  if (!zip.empty()) zip[zip.size() / 2] = static_cast<char>(zip[zip.size() / 2] ^ 0xFF);
}

// Text files of the result carry CR LF line ends, like the client's own.
std::string WithCrLf(const std::string& text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) out.push_back('\r');
    out.push_back(text[i]);
  }
  return out;
}

class Session {
 public:
  Session(Connection& c, const Store& store, const ServerOptions& options, const Logger& log)
      : c_(c), store_(store), options_(options), faults_(options.faults), log_(log) {}

  SessionReport Run() {
    if (faults_.silent) {
      c_.WaitUntilClosed(options_.stall_time);
      return End("silent");
    }
    if (!Send(kGreeting)) return End("greeting not sent");
    if (!Login()) return report_;
    if (!ReceiveUpload()) return report_;
    if (!BuildArchive()) return report_;
    if (faults_.stall) {
      log_("stalling before \"Ready for result\"");
      c_.WaitUntilClosed(options_.stall_time);
      return End("stalled");
    }
    if (faults_.result_delay.count() > 0) {
      log_("taking a while over the result");
      // The client may give up meanwhile.
      if (c_.WaitUntilClosed(faults_.result_delay) != Connection::Read::kTimedOut) return End("left while waiting");
    }
    if (!SendResult()) return report_;
    return End("sent");
  }

 private:
  SessionReport& End(const std::string& outcome) {
    report_.outcome = outcome;
    log_(outcome);
    return report_;
  }

  bool Fail(const std::string& why) {
    End(why);
    return false;
  }

  bool Send(std::string_view bytes) {
    if (c_.Send(bytes, options_.timeout)) return true;
    if (c_.cut()) log_("connection cut after " + std::to_string(c_.bytesSent()) + " bytes");
    return false;
  }

  bool Login() {
    std::string login, password;
    Read r = c_.ReadLine(&login, 80, options_.timeout);
    if (r == Read::kOk) r = c_.ReadLine(&password, 80, options_.timeout);
    report_.login = login;
    if (r != Read::kOk && r != Read::kTooLong) {
      return Fail(std::string("login not read: ") + ReadText(r));
    }
    std::optional<User> user = store_.FindUser(login);
    if (r == Read::kTooLong || faults_.refuse_login || !user || user->password != password) {
      log_("login \"" + Printable(login) + "\" refused");
      Send("no access\r\n");
      return Fail("no access");
    }
    if (faults_.deny_service || !user->active) {
      log_("login \"" + Printable(login) + "\" denied the service");
      Send("Welcome\r\nService denied\r\n");
      return Fail("service denied");
    }
    log_("login \"" + Printable(login) + "\" accepted");
    const std::string credit = faults_.credit ? *faults_.credit : CreditLine(user->credit);
    if (!Send("Welcome\r\nCredit:" + credit + "\r\nStart upload")) return Fail("credit not sent");
    return true;
  }

  // An ACK, or the NAK of the fault; false when the session is to end.
  bool Acknowledge() {
    ++report_.acks_sent;
    const bool nak = faults_.nak_at == report_.acks_sent;
    if (!Send(std::string(1, nak ? kNak : kAck))) return false;
    if (nak) log_("sent NAK for acknowledgement " + std::to_string(report_.acks_sent));
    return !nak;
  }

  bool Refuse(const std::string& why) {
    Send(std::string(1, kNak));
    return Fail(why);
  }

  bool ReceiveUpload() {
    std::string name, size_text;
    Read r = c_.ReadLine(&name, 80, options_.timeout);
    if (r == Read::kTooLong) return Refuse("upload name too long");
    if (r != Read::kOk) return Fail(std::string("no upload name: ") + ReadText(r));
    if (name.empty()) return Refuse("empty upload name");
    if (!Acknowledge()) return Fail("upload refused");
    r = c_.ReadLine(&size_text, 20, options_.timeout);
    if (r == Read::kTooLong) return Refuse("upload size too long");
    if (r != Read::kOk) return Fail(std::string("no upload size: ") + ReadText(r));
    long size = ParseSize(size_text, kMaxUploadSize);
    if (size < 0) return Refuse("bad upload size \"" + Printable(size_text) + "\"");
    if (!Acknowledge()) return Fail("upload refused");
    log_("receiving \"" + Printable(name) + "\", " + std::to_string(size) + " bytes");
    std::string& data = report_.upload;
    while (static_cast<long>(data.size()) < size) {
      std::size_t block = std::min<std::size_t>(kBlockSize, static_cast<std::size_t>(size) - data.size());
      r = c_.ReadBytes(&data, block, options_.timeout);
      if (r != Read::kOk) return Fail(std::string("upload broken off: ") + ReadText(r));
      if (data.size() % kBlockSize == 0 && !Acknowledge()) return Fail("upload refused");
    }
    if (data.size() % kBlockSize != 0 && !Acknowledge()) return Fail("upload refused");
    return true;
  }

  bool BuildArchive() {
    ResultContext context;
    context.today = options_.today.isNull() ? Date::Today() : options_.today;
    context.now = platform::Now();
    ResultFiles files = BuildResult(store_, report_.upload, context);
    long total_lines = 0;
    for (const AnsweredLine& a : files.answers) {
      total_lines += a.lines;
      std::string line = "request \"" + Printable(a.request) + "\": " + std::to_string(a.lines) + " lines";
      if (!a.note.empty()) line += " (" + a.note + ")";
      log_(line);
    }
    std::vector<ZipMember> members{{"sksdat.dat", std::move(files.sksdat)}};
    if (files.feed) members.push_back({"sintab.fd", std::move(*files.feed)});
    if (files.motd) members.push_back({"motd.txt", WithCrLf(*files.motd)});
    if (files.release) members.push_back({"_kvqt.exe", std::move(*files.release)});
    if (faults_.bomb > 0) {
      std::erase_if(members, [](const ZipMember& m) { return m.name == "motd.txt"; });
      members.push_back({"motd.txt", std::string(static_cast<std::size_t>(faults_.bomb), ' ')});
    }
    for (const std::string& name : faults_.extra_members) members.push_back({name, "JUNK"});
    for (long n = 1; n <= faults_.extra_count; ++n) members.push_back({"extra-" + std::to_string(n) + ".txt", "x"});
    report_.answers = std::move(files.answers);
    std::string error;
    if (BuildZip(members, context.now, &report_.archive, &error) != 0) return Fail("archive not built: " + error);
    std::string names;
    for (const ZipMember& m : members) names += " " + m.name;
    log_("result " + std::to_string(total_lines) + " lines, archive " + std::to_string(report_.archive.size()) +
         " bytes:" + names);
    if (faults_.corrupt_zip) Corrupt(report_.archive);
    return true;
  }

  bool WaitAck(const char* what) {
    char byte = 0;
    Read r = c_.ReadByte(&byte, options_.timeout);
    if (r == Read::kOk && byte == kAck) {
      ++report_.acks_received;
      return true;
    }
    if (r == Read::kOk) return Fail(std::string(byte == kNak ? "NAK" : "no acknowledgement") + " after the " + what);
    return Fail(std::string("no acknowledgement after the ") + what + ": " + ReadText(r));
  }

  bool SendResult() {
    const std::string& zip = report_.archive;
    const std::string name = faults_.file_name.value_or("result.zip");
    const std::string size = faults_.file_size.value_or(std::to_string(zip.size()));
    if (!Send("Ready for result" + name + "\n")) return Fail("cut before the file name");
    if (!WaitAck("file name")) return false;
    if (!Send(size + "\n")) return Fail("cut before the file size");
    if (!WaitAck("file size")) return false;
    std::size_t sent = 0;
    while (sent < zip.size()) {
      std::size_t n = std::min(kBlockSize, zip.size() - sent);
      if (!Send(std::string_view(zip).substr(sent, n))) return Fail("cut in the transfer");
      sent += n;
      if (sent % kBlockSize == 0 && !WaitAck("block")) return false;
    }
    if (sent % kBlockSize != 0 && !WaitAck("last block")) return false;
    return true;
  }

  Connection& c_;
  const Store& store_;
  const ServerOptions& options_;
  const Faults& faults_;
  const Logger& log_;
  SessionReport report_;
};

}  // namespace

std::string Printable(std::string_view bytes, std::size_t max) {
  std::string out;
  for (char c : bytes.substr(0, max)) {
    unsigned char u = static_cast<unsigned char>(c);
    if (u >= 0x20 && u < 0x7F && c != '\\' && c != '"') {
      out.push_back(c);
    } else {
      char hex[8];
      std::snprintf(hex, sizeof hex, "\\x%02x", u);
      out += hex;
    }
  }
  if (bytes.size() > max) out += "...";
  return out;
}

SessionReport RunSession(Connection& connection, const Store& store, const ServerOptions& options,
                         const Logger& log) {
  return Session(connection, store, options, log).Run();
}

}  // namespace kvqt::server
