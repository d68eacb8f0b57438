#include "automation/task_line_parse.h"

#include <climits>

#include "platform/path.h"

namespace kvqt {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsLetterOrDigit(char c) { return IsDigit(c) || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

std::string_view TrimLeadingBlanks(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && IsBlank(text[i])) ++i;
  return text.substr(i);
}

std::string_view TrimTrailingBlanks(std::string_view text) {
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

void ParseAction(std::string_view line, ParsedTaskLine& parsed) {
  parsed.form = TaskLineForm::Action;
  const std::size_t open = line.find('(');
  if (open == std::string_view::npos) {
    parsed.name = std::string(TrimTrailingBlanks(line));
    parsed.syntax = ActionSyntax::OpenExpected;
    return;
  }
  parsed.name = std::string(TrimTrailingBlanks(line.substr(0, open)));
  const std::size_t close = line.find(')', open + 1);
  if (close == std::string_view::npos) {
    parsed.syntax = ActionSyntax::CloseExpected;
    return;
  }
  // Everything after the first ')' is ignored, so a ')' or ',' inside a quoted
  // argument ends it there.
  const std::string_view inside = line.substr(open + 1, close - open - 1);
  std::vector<std::string> items;
  if (!TrimLeadingBlanks(inside).empty()) {
    std::size_t start = 0;
    while (items.size() < kTaskLineItems - 1) {
      const std::size_t comma = inside.find(',', start);
      const std::string_view item =
          comma == std::string_view::npos ? inside.substr(start) : inside.substr(start, comma - start);
      items.emplace_back(TrimLeadingBlanks(item));
      if (comma == std::string_view::npos) break;
      start = comma + 1;
    }
  }
  parsed.arguments = TaskArguments(std::move(items));
}

void ParseCommand(std::string_view line, ParsedTaskLine& parsed) {
  while (!line.empty() && !IsLetterOrDigit(line.back())) line.remove_suffix(1);
  std::string word;
  for (char c : line) {
    if (IsBlank(c)) {
      if (!word.empty()) parsed.words.push_back(std::move(word));
      word.clear();
    } else {
      word.push_back(c);
    }
  }
  if (!word.empty()) parsed.words.push_back(std::move(word));
  parsed.form = parsed.words.empty() ? TaskLineForm::Empty : TaskLineForm::Command;
}

}  // namespace

bool ReadTaskLine(std::FILE* file, std::string& line) {
  line.clear();
  if (file == nullptr) return false;
  const bool first = std::ftell(file) == 0;
  int c = std::getc(file);
  if (c == EOF) return false;
  bool cut = false;
  for (; c != EOF && c != '\n'; c = std::getc(file)) {
    if (line.size() < kTaskLineLimit) {
      line.push_back(static_cast<char>(c));
    } else {
      cut = true;
    }
  }
  // The line end of a file written with CR LF.
  if (!cut && !line.empty() && line.back() == '\r') line.pop_back();
  // The byte-order mark an editor may put at the start of a UTF-8 file is no
  // part of the first line.
  if (first && line.compare(0, 3, "\xEF\xBB\xBF") == 0) line.erase(0, 3);
  return true;
}

std::string_view TaskArguments::text(std::size_t index) const {
  return index < items_.size() ? std::string_view(items_[index]) : std::string_view();
}

bool TaskArguments::string(std::size_t index, std::string& value) const {
  const std::string_view item = text(index);
  if (item.size() < 2 || item.front() != '"' || item.back() != '"') return false;
  value.assign(item.substr(1, item.size() - 2));
  return true;
}

bool TaskArguments::number(std::size_t index, int& value) const {
  const std::string_view item = text(index);
  if (!StartsWithDigit(item)) return false;
  value = LeadingNumber(item);
  return true;
}

ParsedTaskLine ParseTaskLine(std::string_view line) {
  ParsedTaskLine parsed;
  if (!line.empty() && line.front() == '=') {
    ParseAction(line, parsed);
  } else {
    ParseCommand(line, parsed);
  }
  return parsed;
}

bool StartsWithDigit(std::string_view text) { return !text.empty() && IsDigit(text.front()); }

std::size_t LeadingDigits(std::string_view text) {
  std::size_t n = 0;
  while (n < text.size() && IsDigit(text[n])) ++n;
  return n;
}

int LeadingNumber(std::string_view text) {
  long long value = 0;
  for (std::size_t i = 0; i < text.size() && IsDigit(text[i]); ++i) {
    value = value * 10 + (text[i] - '0');
    if (value > INT_MAX) return INT_MAX;
  }
  return static_cast<int>(value);
}

bool StartsWithIgnoreCase(std::string_view word, std::string_view prefix) {
  return word.size() >= prefix.size() && platform::EqualsNoCase(word.substr(0, prefix.size()), prefix);
}

std::vector<std::string> CommandWords(std::string_view commandLine) {
  std::vector<std::string> words;
  std::string word;
  bool inWord = false;
  bool quoted = false;
  for (char c : commandLine) {
    if (c == '"') {
      quoted = !quoted;
      inWord = true;
    } else if (IsBlank(c) && !quoted) {
      if (inWord) words.push_back(std::move(word));
      word.clear();
      inWord = false;
    } else {
      word.push_back(c);
      inWord = true;
    }
  }
  if (inWord) words.push_back(std::move(word));
  return words;
}

}  // namespace kvqt
