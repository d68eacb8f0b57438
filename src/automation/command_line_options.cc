#include "automation/command_line_options.h"

#include "app/model/formats.h"
#include "app/runner/program_args.h"
#include "platform/absolute_path.h"
#include "platform/path.h"

namespace kvqt {
namespace {

bool IsOption(const std::string& argument, std::string_view option) {
  return platform::EqualsNoCase(argument, option);
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

CommandLineAction Recognise(const std::vector<std::string>& args) {
  const int n = static_cast<int>(args.size());
  if (n == 0) return CommandLineAction::kNothing;
  const std::string& first = args[0];
  if (IsOption(first, "-definitionfile") && n == 1) return CommandLineAction::kDefinitionFileFromSettings;
  if (IsOption(first, "-definitionfile") && n == 4) return CommandLineAction::kDefinitionFile;
  if (IsOption(first, "-query")) return CommandLineAction::kQuery;
  if (IsOption(first, "-insnames")) return CommandLineAction::kInsertNames;
  if (IsOption(first, "-inssymbols")) return CommandLineAction::kInsertSymbols;
  if (IsOption(first, "-printlist") && n == 3) return CommandLineAction::kPrintList;
  if (IsOption(first, "-add2master") && (n == 4 || n == 5)) return CommandLineAction::kAddToMaster;
  if (IsOption(first, "-addsymbols") && (n == 4 || n == 5)) return CommandLineAction::kAddSymbols;
  if (IsOption(first, "-datafile")) return CommandLineAction::kDataFile;
  if (n == 1) return CommandLineAction::kTaskFile;
  return CommandLineAction::kUnknown;
}

}  // namespace

const std::string& CommandLine::argument(int i) const {
  static const std::string kNone;
  if (i < 1 || i > count()) return kNone;
  return arguments[static_cast<std::size_t>(i - 1)];
}

CommandLine ParseCommandLine(const std::vector<std::string>& programArguments) {
  CommandLine line;
  const std::size_t first = LeadingOptionCount(programArguments);
  line.arguments.assign(programArguments.begin() + static_cast<std::ptrdiff_t>(first), programArguments.end());
  line.action = Recognise(line.arguments);
  return line;
}

std::vector<std::string> ArgumentsFromStartDirectory(const std::vector<std::string>& programArguments,
                                                     const std::string& startDirectory) {
  std::vector<std::string> result = programArguments;
  if (startDirectory.empty()) return result;
  const std::size_t first = LeadingOptionCount(programArguments);
  const CommandLine line = ParseCommandLine(programArguments);
  const int n = line.count();
  std::vector<int> paths;  // positions counted from 1, as CommandLine::argument
  switch (line.action) {
    case CommandLineAction::kTaskFile:
      // An option given with a count it is not made for keeps its text in the message.
      if (line.argument(1).rfind('-', 0) != 0) paths = {1};
      break;
    case CommandLineAction::kDefinitionFile: paths = {2, 4}; break;
    case CommandLineAction::kQuery:
      if (n == 3) paths = {3};
      else if (n >= 6) paths = {3, 4, 6};
      break;
    case CommandLineAction::kInsertNames:
    case CommandLineAction::kInsertSymbols:
      if (n == 2 || n == 3) paths = {2, 3};
      break;
    case CommandLineAction::kAddToMaster:
    case CommandLineAction::kAddSymbols: paths = {2, 4}; break;
    case CommandLineAction::kDataFile:
      if (n == 3 || n == 4) paths = {2, 4};
      break;
    default: break;
  }
  for (int i : paths) {
    if (i > n) continue;
    std::string& argument = result[first + static_cast<std::size_t>(i - 1)];
    argument = platform::AbsoluteFrom(startDirectory, argument);
  }
  return result;
}

Format* FindFormatArgument(const Formats* formats, std::string_view text) {
  if (formats == nullptr || text.empty()) return nullptr;
  if (IsDigit(text.front())) {
    // Leading digits, as a number is read; more of them than any id has names no format.
    int id = 0;
    for (std::size_t i = 0; i < text.size() && IsDigit(text[i]); ++i) {
      if (id > 9999) return nullptr;
      id = id * 10 + (text[i] - '0');
    }
    return formats->findById(id);
  }
  if (Format* format = formats->findBySymbol(UpperCase(text))) return format;
  for (int i = 0; i < formats->count(); ++i) {
    Format* format = formats->at(i);
    if (platform::EqualsNoCase(format->symbol(), text)) return format;
  }
  return nullptr;
}

}  // namespace kvqt
