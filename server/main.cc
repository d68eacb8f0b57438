// kvqt-server: the reference download server and its store's tools.
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "datetime/date.h"
#include "demo_market.h"
#include "request_line.h"
#include "server.h"
#include "server_options.h"
#include "store.h"

namespace kvqt::server {
namespace {

// The help goes to standard output when asked for, to standard error after a mistake.
void Usage(std::FILE* to = stderr) {
  std::fprintf(to,
               "usage:\n"
               "  kvqt-server init-demo DB [--today YYYYMMDD]   create the demo market in a new store\n"
               "  kvqt-server serve DB [options]                serve download sessions\n"
               "  kvqt-server info DB                           row counts of the store\n"
               "  kvqt-server set-motd DB FILE|-                set (or with -, remove) the message of the day\n"
               "  kvqt-server set-release DB fX.Y.Z FILE|-      set (or remove) the release sent to older clients\n"
               "  kvqt-server add-user DB LOGIN PASSWORD [CREDIT] [--inactive]\n"
               "serve options:\n%s",
               ServeOptionsHelp());
}

int Fail(const std::string& message) {
  std::fprintf(stderr, "kvqt-server: %s\n", message.c_str());
  return 1;
}

// What was wrong, then the usage; exit code 2.
int Wrong(const std::string& message) {
  std::fprintf(stderr, "kvqt-server: %s\n", message.c_str());
  Usage();
  return 2;
}

int WrongCount(const char* command) { return Wrong(std::string(command) + ": wrong number of arguments"); }

bool ReadWholeFile(const std::string& path, std::string* out) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  out->assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return !in.bad();
}

std::unique_ptr<Store> OpenExisting(const std::string& path, std::string* error) {
  if (!std::filesystem::exists(path)) {
    *error = "no such store: " + path;
    return nullptr;
  }
  return Store::Open(path, false, error);
}

int InitDemoCommand(const std::vector<std::string>& args) {
  if (args.empty()) return Wrong("init-demo: the store's file name is missing");
  Date today = Date::Today();
  for (std::size_t i = 1; i < args.size(); ++i) {
    if (args[i] == "--today" && i + 1 < args.size()) {
      int date = ParseDateField(args[++i]);
      if (date <= 0) return Fail("bad date for --today: " + args[i]);
      today = Date::FromValue(date);
    } else if (args[i] == "--today") {
      return Wrong("init-demo: --today needs a date YYYYMMDD");
    } else {
      return Wrong("init-demo: unknown option " + args[i]);
    }
  }
  if (std::filesystem::exists(args[0])) return Fail(args[0] + " exists; the demo goes into a new store");
  std::string error;
  std::unique_ptr<Store> store = Store::Open(args[0], true, &error);
  if (!store) return Fail(error);
  if (InitDemo(*store, today, &error) != 0) return Fail(error);
  std::printf("demo market for %d written to %s\n", today.value(), args[0].c_str());
  return 0;
}

int ServeCommand(const std::vector<std::string>& args) {
  ServerOptions options;
  std::string error;
  if (ParseServeOptions(args, &options, &error) != 0) return Wrong(error);
  std::unique_ptr<Store> store = OpenExisting(options.database, &error);
  if (!store) return Fail(error);
  Server server(*store, options, LogToStderr);
  if (server.Listen(&error) != 0) return Fail(error);
  std::printf("listening on %s:%d\n", options.address.c_str(), server.port());
  std::fflush(stdout);
  server.Run();
  return 0;
}

int InfoCommand(const std::vector<std::string>& args) {
  if (args.size() != 1) return WrongCount("info");
  std::string error;
  std::unique_ptr<Store> store = OpenExisting(args[0], &error);
  if (!store) return Fail(error);
  for (const auto& [table, count] : store->TableCounts()) std::printf("%s %ld\n", table.c_str(), count);
  if (std::optional<std::string> today = store->Value(kTodayKey)) std::printf("today %s\n", today->c_str());
  return 0;
}

int SetMotdCommand(const std::vector<std::string>& args) {
  if (args.size() != 2) return WrongCount("set-motd");
  std::string error;
  std::unique_ptr<Store> store = OpenExisting(args[0], &error);
  if (!store) return Fail(error);
  std::string text;
  if (args[1] != "-" && !ReadWholeFile(args[1], &text)) return Fail("cannot read " + args[1]);
  return store->SetMotd(text) == 0 ? 0 : Fail("cannot write the store");
}

int SetReleaseCommand(const std::vector<std::string>& args) {
  if (args.size() != 3) return WrongCount("set-release");
  std::string error;
  std::unique_ptr<Store> store = OpenExisting(args[0], &error);
  if (!store) return Fail(error);
  if (args[2] == "-") return store->ClearRelease() == 0 ? 0 : Fail("cannot write the store");
  int version = ParseVersion(args[1]);
  if (version == 0) return Fail("bad version (write it as fX.Y.Z): " + args[1]);
  Release release{version, {}};
  if (!ReadWholeFile(args[2], &release.data)) return Fail("cannot read " + args[2]);
  return store->SetRelease(release) == 0 ? 0 : Fail("cannot write the store");
}

int AddUserCommand(const std::vector<std::string>& args) {
  if (args.size() < 3 || args.size() > 5) return WrongCount("add-user");
  User user{args[1], args[2], "", true};
  for (std::size_t i = 3; i < args.size(); ++i) {
    if (args[i] == "--inactive") {
      user.active = false;
    } else if (args[i].rfind("--", 0) == 0) {
      return Wrong("add-user: unknown option " + args[i]);
    } else {
      user.credit = args[i];
    }
  }
  std::string error;
  std::unique_ptr<Store> store = OpenExisting(args[0], &error);
  if (!store) return Fail(error);
  return store->PutUser(user) == 0 ? 0 : Fail("cannot write the store");
}

}  // namespace
}  // namespace kvqt::server

int main(int argc, char** argv) {
  using namespace kvqt::server;
  if (argc < 2) return Wrong("no command given");
  std::string command = argv[1];
  std::vector<std::string> args(argv + 2, argv + argc);
  if (command == "init-demo") return InitDemoCommand(args);
  if (command == "serve") return ServeCommand(args);
  if (command == "info") return InfoCommand(args);
  if (command == "set-motd") return SetMotdCommand(args);
  if (command == "set-release") return SetReleaseCommand(args);
  if (command == "add-user") return AddUserCommand(args);
  if (command == "--help" || command == "-h" || command == "help") {
    Usage(stdout);
    return 0;
  }
  if (command.rfind("-", 0) == 0) return Wrong("unknown option " + command);
  return Wrong("unknown command " + command);
}
