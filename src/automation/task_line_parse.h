// The grammar of task-file lines: reading one line from the file, telling
// action lines ("=Name(arguments)") from command lines (blank-separated
// words), and reading the arguments. Nothing here acts on a line.
#pragma once

#include <cstddef>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

namespace kvqt {

// Characters kept of one line; the rest of a longer line is skipped, so that
// it never comes back as a line of its own.
inline constexpr std::size_t kTaskLineLimit = 511;
// Items taken of an action line: the name and 14 arguments.
inline constexpr std::size_t kTaskLineItems = 15;

// The next line without its line end (LF or CR LF),
// at most kTaskLineLimit characters. The last line needs no line end. False
// at the end of the file (or on a null file).
bool ReadTaskLine(std::FILE* file, std::string& line);

enum class TaskLineForm {
  Empty,    // nothing but blanks and punctuation: skipped
  Action,   // starts with '='
  Command,  // anything else
};

enum class ActionSyntax {
  Ok,
  OpenExpected,   // no '('
  CloseExpected,  // no ')' after the '('
};

// An action line's arguments, each with its leading blanks and tabs removed.
// A missing argument is neither a string nor a number.
class TaskArguments {
 public:
  TaskArguments() = default;
  explicit TaskArguments(std::vector<std::string> items) : items_(std::move(items)) {}

  std::size_t size() const { return items_.size(); }
  // The argument as written; empty when missing.
  std::string_view text(std::size_t index) const;
  // Begins and ends with a double quote (two of them at least); the text
  // between the quotes.
  bool string(std::size_t index, std::string& value) const;
  // Begins with a digit; its leading digits as a decimal number (at most INT_MAX).
  bool number(std::size_t index, int& value) const;

 private:
  std::vector<std::string> items_;
};

struct ParsedTaskLine {
  TaskLineForm form = TaskLineForm::Empty;
  // Action lines: the name with its '=' (blanks before the '(' removed).
  std::string name;
  ActionSyntax syntax = ActionSyntax::Ok;
  TaskArguments arguments;
  // Command lines: the words, after the trailing characters that are neither
  // letters nor digits were removed.
  std::vector<std::string> words;
};

ParsedTaskLine ParseTaskLine(std::string_view line);

// Whether the text begins with a digit, and its leading digits as a number
// (saturating at INT_MAX; 0 when it has none).
bool StartsWithDigit(std::string_view text);
int LeadingNumber(std::string_view text);

// The number of leading digits.
std::size_t LeadingDigits(std::string_view text);

// Whether `word` begins with `prefix` (ASCII, case-insensitive).
bool StartsWithIgnoreCase(std::string_view word, std::string_view prefix);

// A program's command line split into its words: blanks and tabs separate
// them, double quotes group blanks into a word and are removed.
std::vector<std::string> CommandWords(std::string_view commandLine);

}  // namespace kvqt
