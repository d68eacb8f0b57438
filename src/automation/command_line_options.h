// What the program's arguments ask a batch run to do. Options and format
// symbols are matched regardless of case; file and directory arguments are
// kept exactly as given, since file names are case-sensitive here.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kvqt {

class Format;
class Formats;

enum class CommandLineAction {
  kNothing,                     // no arguments beyond "-nowindow" and "--headless"
  kTaskFile,                    // one argument that is no option
  kDefinitionFileFromSettings,  // -definitionfile
  kDefinitionFile,              // -definitionfile file format output
  kQuery,                       // -query ... (checks its own count)
  kInsertNames,                 // -insnames ... (checks its own count)
  kInsertSymbols,               // -inssymbols ... (checks its own count)
  kPrintList,                   // -printlist format x
  kAddToMaster,                 // -add2master file format directory [date]
  kAddSymbols,                  // -addsymbols file format directory [date]
  kDataFile,                    // -datafile ... (checks its own count)
  kUnknown,                     // anything else: the first argument is the error
};

struct CommandLine {
  CommandLineAction action = CommandLineAction::kNothing;
  // The arguments after the leading "-nowindow" ones, as given.
  std::vector<std::string> arguments;

  int count() const { return static_cast<int>(arguments.size()); }
  // Argument i counted from 1 (the option itself); empty beyond the last.
  const std::string& argument(int i) const;
};

// An option is recognised only as the first argument left after the leading
// "-nowindow" ones, and only with the counts it is made for; otherwise one
// argument is a task file name and more are an error.
CommandLine ParseCommandLine(const std::vector<std::string>& programArguments);

// The arguments with every relative file and directory argument taken from
// `startDirectory`, where the program was started: start-up then changes into
// the program directory. Options, formats, dates and the names inside task
// files are left alone.
std::vector<std::string> ArgumentsFromStartDirectory(const std::vector<std::string>& programArguments,
                                                     const std::string& startDirectory);

// A format named on the command line: by `FormatId` when the text begins with
// a digit, otherwise by symbol regardless of case (the upper-case spelling
// first, as the built-in symbols are written). Null when there is none.
Format* FindFormatArgument(const Formats* formats, std::string_view text);

}  // namespace kvqt
