#include "kvqt-info/kvqt_info.h"

#include <string>

#include "kvqt-info/datafile_verb.h"
#include "kvqt-info/dir_verbs.h"
#include "kvqt-info/login_verb.h"
#include "kvqt-info/sdb_verb.h"

namespace kvqt::info {
namespace {

using FileVerb = int (*)(const std::string& path, std::ostream& out, std::ostream& err);
using ArgsVerb = int (*)(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// Verbs that read one file take exactly one argument; the others check their own.
template <FileVerb verb>
int OneFile(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  if (args.size() == 1) return verb(args[0], out, err);
  err << "kvqt-info: usage: kvqt-info VERB FILE (kvqt-info --help lists the verbs)\n";
  return 2;
}

struct Verb {
  const char* name;
  ArgsVerb run;
};

constexpr Verb kVerbs[] = {
    {"datafile", OneFile<RunDatafileVerb>},
    {"login", RunLoginVerb},
    {"dir", RunDirVerb},
    {"records", RunRecordsVerb},
    {"sdb", OneFile<RunSdbVerb>},
};

}  // namespace

const char* HelpText() {
  static const std::string text =
      std::string("Usage: kvqt-info VERB ARGUMENTS...\n"
                  "Prints what Kvqt reads from its files and chart directories.\n"
                  "\n"
                  "Verbs:\n"
                  "  datafile FILE  a program data file (kvqt.dat) as the program loads it, merged with the\n"
                  "                 built-in formats: version, userinfo, the current format, then every format\n"
                  "                 with its lists (each with its directories and their data files) and its\n"
                  "                 directories with their data files, in the program's order\n"
                  "  login [--show-password] FILE\n"
                  "                 a login file (kvqt.prs): user number, password (set or none unless\n"
                  "                 --show-password is given), session date and time\n") +
      kDirVerbHelp + kRecordsVerbHelp + kSdbVerbHelp +
      "\n"
      "Output: one line per object, starting with its kind (version, userinfo, current, format,\n"
      "list, directory, datafile, login, detect, entry, record, currency, exchange, instrument,\n"
      "split, ...), followed by key=value fields named as in the files.\n"
      "A directory line that belongs to a list carries list=NAME. A value that is empty or holds\n"
      "a blank, a double quote, a control character or a byte above 0x7E is written in double\n"
      "quotes with C escapes (\\\" \\\\ \\t \\n ..., other bytes as \\ooo octal). Integers are\n"
      "decimal, dates YYYYMMDD (0: none), times HHMMSS (-1: none), prices and volumes as the\n"
      "shortest decimal that reads back as the same 32-bit float (3.08); a separator\n"
      "character of none is the empty text \"\".\n"
      "\n"
      "Exit status: 0 success; 1 the input cannot be read, is damaged or is refused by the\n"
      "program (a one-line message on standard error); 2 wrong usage.\n";
  return text.c_str();
}

int RunKvqtInfo(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  if (args.size() == 1 && (args[0] == "--help" || args[0] == "-h")) {
    out << HelpText();
    return 0;
  }
  if (!args.empty()) {
    for (const Verb& verb : kVerbs) {
      if (args[0] == verb.name) return verb.run({args.begin() + 1, args.end()}, out, err);
    }
  }
  err << "kvqt-info: usage: kvqt-info VERB FILE (kvqt-info --help lists the verbs)\n";
  return 2;
}

}  // namespace kvqt::info
