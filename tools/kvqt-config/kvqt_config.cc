#include "kvqt-config/kvqt_config.h"

#include <sstream>

#include "app/core/messages.h"
#include "kvqt-config/config_data.h"
#include "kvqt-config/dir_verbs.h"
#include "kvqt-config/login_verbs.h"
#include "kvqt-config/set_verb.h"
#include "kvqt-config/show_verb.h"
#include "kvqt-config/stream_messages.h"
#include "kvqt-config/verb.h"
#include "platform/instance_endpoint.h"

namespace kvqt::config {
namespace {

enum class Data {
  kNone,     // works on the settings file only
  kRead,     // loads the program's data and changes nothing
  kChange,   // loads, changes and saves
};

struct Verb {
  const char* name;
  std::size_t minArgs;
  std::size_t maxArgs;
  Data data;
  VerbFunction run;
  const char* usage;
};

constexpr std::size_t kAny = static_cast<std::size_t>(-1);

constexpr Verb kVerbs[] = {
    {"user", 1, 2, Data::kChange, RunUserVerb, "user NUMBER [PASSWORD | --password-stdin]"},
    {"server", 1, 1, Data::kChange, RunServerVerb, "server HOST[:PORT] | server default"},
    {"add-dir", 2, 2, Data::kChange, RunAddDirVerb, "add-dir FORMAT DIRECTORY"},
    {"add-list", 2, kAny, Data::kChange, RunAddListVerb, "add-list FORMAT NAME [DIRECTORY...]"},
    {"select", 4, kAny, Data::kChange, RunSelectVerb, "select FORMAT LIST DIRECTORY all|none|SYMBOL..."},
    {"set", 3, 3, Data::kNone, RunSetVerb, "set SECTION KEY VALUE"},
    {"show", 0, 0, Data::kRead, RunShowVerb, "show"},
};

int Usage(std::ostream& err, const char* usage = nullptr) {
  if (usage) err << "kvqt-config: usage: kvqt-config [--dir DIR] [--convert] " << usage << "\n";
  else err << "kvqt-config: usage: kvqt-config [--dir DIR] [--convert] VERB ARGUMENTS... (kvqt-config --help)\n";
  return kExitUsage;
}

}  // namespace

const char* HelpText() {
  return "Usage: kvqt-config [--dir DIR] [--convert] [--force] VERB ARGUMENTS...\n"
         "Configures Kvqt without a window: loads the program's data as Kvqt does, makes one change,\n"
         "saves the data file (kvqt.dat) and the login file (kvqt.prs) and says what it did.\n"
         "A program directory without a data file starts from the built-in formats, as a first run does.\n"
         "\n"
         "Options (before the verb):\n"
         "  --dir DIR      the program directory (created when missing); by default the one Kvqt uses:\n"
         "                 $KVQT_HOME, else the executable's directory when it holds kvqt.dat or kvqt.prs,\n"
         "                 else $XDG_DATA_HOME/kvqt/ (~/.local/share/kvqt/)\n"
         "  --convert      answer Yes to converting an ASCII directory's index of the older layout\n"
         "  --force        set: write a key of section configure that the program does not know\n"
         "\n"
         "Verbs:\n"
         "  user NUMBER [PASSWORD | --password-stdin]\n"
         "                 the user number (login) and password of the download service, at most 8\n"
         "                 printable characters each, no blanks. Without PASSWORD it is asked for at\n"
         "                 the terminal without echo; with --password-stdin it is the first line of\n"
         "                 standard input. Either keeps it out of ps and the shell's history\n"
         "  server HOST[:PORT] | server default\n"
         "                 the destination of the download session (an IPv6 address as [ADDRESS]:PORT;\n"
         "                 the port defaults to 17318); 'server default' uses the download server\n"
         "  add-dir FORMAT DIRECTORY\n"
         "                 adds a data directory to a format and makes it the current directory and the\n"
         "                 format the current format. FORMAT is a format symbol (any case) or id, as\n"
         "                 'show' lists them. A missing directory is created with its parents; one that\n"
         "                 holds another format is refused with the directory editor's message. A\n"
         "                 directory that is already there is not added twice\n"
         "  add-list FORMAT NAME [DIRECTORY...]\n"
         "                 adds a list (names are case-sensitive) and its directories, each also added to\n"
         "                 the format as by add-dir; an existing list gets the directories added\n"
         "  select FORMAT LIST DIRECTORY all|none|SYMBOL...\n"
         "                 which instruments of a list's directory a download takes: all of them (also\n"
         "                 those added later), none, or exactly the given symbols, which must be in the\n"
         "                 directory's master file\n"
         "  set SECTION KEY VALUE\n"
         "                 writes a key of the settings file $XDG_CONFIG_HOME/kvqt/kvqt.ini\n"
         "                 (~/.config/kvqt/kvqt.ini); the program's settings are in section configure,\n"
         "                 where a key the program does not know is refused (and the known ones listed)\n"
         "                 unless --force is given\n"
         "  show           the files, the login, the destination, every format with its directories and\n"
         "                 lists, and the selection of each list directory, as key=value lines\n"
         "\n"
         "Relative directories are taken from the current directory; their spelling is kept.\n"
         "Kvqt saves its data when it exits, so the changing verbs refuse to run while a Kvqt of the same\n"
         "program directory runs.\n"
         "\n"
         "Exit status: 0 done; 1 refused, with the reason on standard error (nothing is saved);\n"
         "2 wrong usage.\n";
}

int RunKvqtConfig(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  std::istringstream none;
  return RunKvqtConfig(args, none, false, out, err);
}

int RunKvqtConfig(const std::vector<std::string>& args, std::istream& in, bool terminal, std::ostream& out,
                  std::ostream& err) {
  std::string directory;
  bool convert = false;
  bool force = false;
  std::size_t at = 0;
  for (; at < args.size(); ++at) {
    const std::string& arg = args[at];
    if (arg == "--help" || arg == "-h") {
      out << HelpText();
      return kExitOk;
    }
    if (arg == "--convert") {
      convert = true;
    } else if (arg == "--force") {
      force = true;
    } else if (arg == "--dir") {
      if (++at == args.size() || args[at].empty()) return Usage(err);
      directory = args[at];
    } else if (arg.rfind("--dir=", 0) == 0 && arg.size() > 6) {
      directory = arg.substr(6);
    } else if (arg.rfind("-", 0) == 0) {
      err << "kvqt-config: unknown option " << arg << "\n";
      return Usage(err);
    } else {
      break;
    }
  }
  if (at == args.size()) return Usage(err);

  const Verb* verb = nullptr;
  for (const Verb& candidate : kVerbs) {
    if (args[at] == candidate.name) verb = &candidate;
  }
  if (!verb) {
    err << "kvqt-config: unknown verb " << args[at] << "\n";
    return Usage(err);
  }
  std::vector<std::string> verbArgs(args.begin() + static_cast<std::ptrdiff_t>(at) + 1, args.end());
  if (verbArgs.size() < verb->minArgs || verbArgs.size() > verb->maxArgs) return Usage(err, verb->usage);

  ScopedStreamMessages messages(err);
  ConfigData data;
  VerbContext context{out, err, data, convert, &in, terminal, force};
  if (verb->data == Data::kNone) return verb->run(context, verbArgs);

  std::string programDirectory = ChooseProgramDirectory(directory, err);
  if (programDirectory.empty()) return kExitError;
  // The program running on this directory would write its own data over ours when it exits.
  if (verb->data == Data::kChange &&
      platform::InstanceRunning(platform::InstanceName(kProgramTitle, programDirectory))) {
    err << "kvqt-config: Kvqt is running in " << programDirectory
        << " and saves its data when it exits; close it first\n";
    return kExitError;
  }
  if (!data.load(programDirectory, err)) return kExitError;
  int rc = verb->run(context, verbArgs);
  if (rc != kExitOk || verb->data != Data::kChange) return rc;
  return data.save(out, err) ? kExitOk : kExitError;
}

}  // namespace kvqt::config
