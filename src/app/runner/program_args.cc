#include "app/runner/program_args.h"

#include "platform/path.h"

namespace kvqt {
namespace {

std::vector<std::string>& Arguments() {
  static std::vector<std::string> arguments;
  return arguments;
}

}  // namespace

void SetProgramArguments(std::vector<std::string> arguments) { Arguments() = std::move(arguments); }
const std::vector<std::string>& ProgramArguments() { return Arguments(); }

bool HasNoWindowOption(const std::vector<std::string>& arguments) {
  for (const std::string& a : arguments) {
    if (platform::EqualsNoCase(a, kNoWindowOption)) return true;
  }
  return false;
}

bool IsLeadingOption(std::string_view argument) {
  return platform::EqualsNoCase(argument, kNoWindowOption) || platform::EqualsNoCase(argument, kHeadlessOption);
}

std::size_t LeadingOptionCount(const std::vector<std::string>& arguments) {
  std::size_t n = 0;
  while (n < arguments.size() && IsLeadingOption(arguments[n])) ++n;
  return n;
}

bool HasHeadlessOption(const std::vector<std::string>& arguments) {
  const std::size_t n = LeadingOptionCount(arguments);
  for (std::size_t i = 0; i < n; ++i) {
    if (platform::EqualsNoCase(arguments[i], kHeadlessOption)) return true;
  }
  return false;
}

InfoRequest FindInfoRequest(const std::vector<std::string>& arguments) {
  const std::size_t n = LeadingOptionCount(arguments);
  if (n == arguments.size()) return InfoRequest::kNone;
  const std::string& first = arguments[n];
  if (first == "--help" || first == "-h") return InfoRequest::kHelp;
  if (first == "--version") return InfoRequest::kVersion;
  return InfoRequest::kNone;
}

std::string UpperCase(std::string_view text) {
  std::string out(text);
  for (char& c : out) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return out;
}

}  // namespace kvqt
