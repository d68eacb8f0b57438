#include "kvqt-info/kvqt_info.h"

#include "kvqt-info/datafile_verb.h"
#include "kvqt-info/login_verb.h"

namespace kvqt::info {
namespace {

struct Verb {
  const char* name;
  int (*run)(const std::string& path, std::ostream& out, std::ostream& err);
};

constexpr Verb kVerbs[] = {
    {"datafile", RunDatafileVerb},
    {"login", RunLoginVerb},
};

}  // namespace

const char* HelpText() {
  return "Usage: kvqt-info VERB FILE\n"
         "Prints what Kvqt reads from one of its files.\n"
         "\n"
         "Verbs:\n"
         "  datafile FILE  a program data file (kvqt.dat) as the program loads it, merged with the\n"
         "                 built-in formats: version, userinfo, the current format, then every format\n"
         "                 with its lists (each with its directories and their data files) and its\n"
         "                 directories with their data files, in the program's order\n"
         "  login FILE     a login file (kvqt.prs): user number, password, session date and time\n"
         "\n"
         "Output: one line per object, starting with its kind (version, userinfo, current, format,\n"
         "list, directory, datafile, login), followed by key=value fields named as in the files.\n"
         "A directory line that belongs to a list carries list=NAME. A value that is empty or holds\n"
         "a blank, a double quote, a control character or a byte above 0x7E is written in double\n"
         "quotes with C escapes (\\\" \\\\ \\t \\n ..., other bytes as \\ooo octal). Integers are\n"
         "decimal, dates YYYYMMDD (0: none), times HHMMSS (-1: none), floats %.9g; a separator\n"
         "character of none is the empty text \"\".\n"
         "\n"
         "Exit status: 0 success; 1 the file cannot be read, is damaged or is refused by the\n"
         "program (a one-line message on standard error); 2 wrong usage.\n";
}

int RunKvqtInfo(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  if (args.size() == 1 && (args[0] == "--help" || args[0] == "-h")) {
    out << HelpText();
    return 0;
  }
  if (args.size() == 2) {
    for (const Verb& verb : kVerbs) {
      if (args[0] == verb.name) return verb.run(args[1], out, err);
    }
  }
  err << "kvqt-info: usage: kvqt-info VERB FILE (kvqt-info --help lists the verbs)\n";
  return 2;
}

}  // namespace kvqt::info
