#include "platform/absolute_path.h"

#include <unistd.h>

#include <filesystem>

#include "platform/path.h"

namespace kvqt::platform {

std::string AbsoluteFrom(std::string_view base, std::string_view path) {
  if (path.empty()) return std::string();
  std::filesystem::path full{std::string(path)};
  if (full.is_relative()) full = std::filesystem::path(EnsureTrailingSeparator(std::string(base))) / full;
  std::string text = full.lexically_normal().string();
  // "dir/." normalises to "dir/": a path typed without a separator stays without.
  if (!EndsWithSeparator(path) && text.size() > 1 && EndsWithSeparator(text)) text.pop_back();
  return text;
}

std::string CurrentDirectory() {
  char buffer[4096];
  if (::getcwd(buffer, sizeof buffer) == nullptr) return std::string();
  return EnsureTrailingSeparator(buffer);
}

}  // namespace kvqt::platform
