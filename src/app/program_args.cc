#include "app/program_args.h"

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

std::string UpperCase(std::string_view text) {
  std::string out(text);
  for (char& c : out) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return out;
}

}  // namespace kvqt
