#include "maintenance/directory_name.h"

#include <sys/stat.h>

#include <filesystem>

#include "app/core/messages.h"
#include "platform/path.h"

namespace kvqt {
namespace {

// Longest name of one path component on the file systems in use.
constexpr std::size_t kLongestComponent = 255;

bool PathExists(const std::string& path) {
  struct stat st;
  return ::stat(path.c_str(), &st) == 0;
}

// Control characters and over-long names are refused before anything is
// made: the path must survive the data file and every later open.
bool ValidName(const std::string& path) {
  if (path.size() + 1 > kLongestDirectoryPath) return false;
  std::size_t component = 0;
  for (unsigned char c : path) {
    if (c < 0x20 || c == 0x7f) return false;
    component = c == platform::kPathSeparator ? 0 : component + 1;
    if (component > kLongestComponent) return false;
  }
  return true;
}

}  // namespace

std::string AcceptDirectoryName(std::string_view typed) {
  while (typed.size() > 1 && typed.back() == platform::kPathSeparator) typed.remove_suffix(1);
  if (typed.empty()) {
    message(kSpecifyDirectoryMessage);
    return std::string();
  }
  std::string path(typed);
  const bool absolute = platform::IsAbsolutePath(path);
  // "." and ".." are resolved by name so that one directory has one entry.
  if (absolute) {
    path = std::filesystem::path(path).lexically_normal().string();
    while (path.size() > 1 && path.back() == platform::kPathSeparator) path.pop_back();
  }

  // A directory given relative to wherever the program happens to run would
  // name another directory on the next start, whether it exists or not.
  const auto nameAccepted = [&] {
    if (!absolute) message(kNoDriveMessage);
    else if (!ValidName(path)) message(kInvalidDirectoryMessage);
    return absolute && ValidName(path);
  };

  if (!PathExists(path)) {
    const std::string_view ask(kCreateDirectoryQuestion);
    const std::size_t at = ask.find("%s");
    if (!question(std::string(ask.substr(0, at)) + path + std::string(ask.substr(at + 2)))) return std::string();
    if (!nameAccepted()) return std::string();
    platform::MakeDirectories(path);
  }

  if (PathExists(path) && !platform::DirectoryExists(path)) {
    message2(path, kNotADirectoryText);
    return std::string();
  }
  if (!platform::DirectoryExists(path)) {
    message2(kCouldNotCreateText, path);
    return std::string();
  }
  if (!nameAccepted()) return std::string();
  return platform::EnsureTrailingSeparator(path);
}

}  // namespace kvqt
