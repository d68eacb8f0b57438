#include "kvqt-config/login_verbs.h"

#include <charconv>

#include "kvqt-config/password_input.h"
#include "service/session/credentials_check.h"
#include "service/session/destination.h"

namespace kvqt::config {
namespace {

// The user number and password fields hold 8 characters; the destination 30.
constexpr std::size_t kCredentialField = 8;
constexpr std::size_t kDestinationField = 30;
constexpr int kInternetConnection = 4;

// Printable ASCII without blanks. The scrambled password must never hold a NUL
// (it would end the password when read back), which no such character gives.
bool PlainText(std::string_view text) {
  for (unsigned char c : text) {
    if (c <= ' ' || c >= 0x7F) return false;
  }
  return true;
}

bool CredentialUsable(std::string_view what, std::string_view text, std::ostream& err) {
  if (text.empty() || text.size() > kCredentialField || !PlainText(text)) {
    err << "kvqt-config: the " << what << " must be 1 to " << kCredentialField
        << " printable characters without blanks\n";
    return false;
  }
  return true;
}

bool ParsePort(std::string_view text, int& port) {
  if (text.empty()) return false;
  const char* end = text.data() + text.size();
  auto [ptr, ec] = std::from_chars(text.data(), end, port);
  return ec == std::errc() && ptr == end && port >= 1 && port <= 65535;
}

}  // namespace

int UserArguments(VerbContext& context, const std::vector<std::string>& args, std::string& number,
                  std::string& password) {
  bool fromStdin = false;
  std::vector<std::string> values;
  for (const std::string& arg : args) {
    if (arg == kPasswordStdinOption) fromStdin = true;
    else values.push_back(arg);
  }
  if (values.empty() || values.size() > 2 || (fromStdin && values.size() == 2)) {
    context.err << "kvqt-config: usage: kvqt-config user NUMBER [PASSWORD | " << kPasswordStdinOption << "]\n";
    return kExitUsage;
  }
  number = values[0];
  if (values.size() == 2) {
    password = values[1];
    return kExitOk;
  }
  if (fromStdin) {
    if (context.in != nullptr && ReadPasswordLine(*context.in, password)) return kExitOk;
    context.err << "kvqt-config: no password on standard input\n";
    return kExitError;
  }
  if (context.terminal && PromptPassword("Password for " + number + ": ", password, context.err)) return kExitOk;
  context.err << "kvqt-config: no password given: type it at the prompt on a terminal, or give it with "
              << kPasswordStdinOption << "\n";
  return kExitError;
}

int RunUserVerb(VerbContext& context, const std::vector<std::string>& args) {
  std::string number, password;
  if (int rc = UserArguments(context, args, number, password); rc != kExitOk) return rc;
  if (!CredentialUsable("user number", number, context.err) || !CredentialUsable("password", password, context.err))
    return kExitError;
  LoginRecord& login = context.data.data().login();
  login.userNumber = number;
  login.password = password;
  context.out << "user number " << number << ", password of " << password.size() << " characters\n";
  // The dialog takes what it is given; the session decides what it accepts.
  std::string problem = CredentialsProblem(number, password);
  if (!problem.empty()) context.err << "kvqt-config: warning: a download session would stop with: " << problem << "\n";
  return kExitOk;
}

bool DestinationArgument(std::string_view text, std::string& destination, std::string& problem) {
  destination.clear();
  if (text == "default") return true;
  std::string_view host = text;
  std::string_view port;
  if (!text.empty() && text.front() == '[') {
    std::size_t close = text.find(']');
    if (close == std::string_view::npos) {
      problem = "missing ] after the address";
      return false;
    }
    host = text.substr(1, close - 1);
    std::string_view rest = text.substr(close + 1);
    if (!rest.empty()) {
      if (rest.front() != ':') {
        problem = "expected :PORT after the address";
        return false;
      }
      port = rest.substr(1);
      if (port.empty()) {
        problem = "missing port after the colon";
        return false;
      }
    }
  } else {
    std::size_t colon = text.find(':');
    // More than one colon: an IPv6 address without a port.
    if (colon != std::string_view::npos && text.find(':', colon + 1) == std::string_view::npos) {
      host = text.substr(0, colon);
      port = text.substr(colon + 1);
      if (port.empty()) {
        problem = "missing port after the colon";
        return false;
      }
    }
  }
  if (host.empty() || !PlainText(host)) {
    problem = "the host must be a name or address of printable characters without blanks";
    return false;
  }
  int number = 0;
  if (!port.empty() && !ParsePort(port, number)) {
    problem = "the port must be a number from 1 to 65535";
    return false;
  }
  // The session reads the host up to the first blank, then the port's digits.
  std::string text_out(host);
  if (!port.empty()) text_out += " " + std::to_string(number);
  if (text_out.size() > kDestinationField) {
    problem = "the destination \"" + text_out + "\" is longer than " + std::to_string(kDestinationField) +
              " characters";
    return false;
  }
  destination = text_out;
  return true;
}

int RunServerVerb(VerbContext& context, const std::vector<std::string>& args) {
  std::string destination, problem;
  if (!DestinationArgument(args[0], destination, problem)) {
    context.err << "kvqt-config: " << args[0] << ": " << problem << "\n";
    return kExitError;
  }
  UserInfo& info = context.data.data().userInfo();
  info.NetworkDestination = destination;
  // As the configuration dialog: the connection is always over the internet.
  info.connection = kInternetConnection;
  ServerDestination server = ParseDestination(destination);
  if (server.isDefault) {
    context.out << "destination: the download server " << server.host << " port " << server.port << "\n";
  } else {
    context.out << "destination " << server.host << " port " << server.port << "\n";
  }
  return kExitOk;
}

}  // namespace kvqt::config
