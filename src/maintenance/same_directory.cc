#include "maintenance/same_directory.h"

#include <filesystem>
#include <system_error>

#include "platform/path.h"

namespace kvqt {

bool SameDirectory(const std::string& a, const std::string& b) {
  if (a.empty() || b.empty()) return false;
  if (platform::EnsureTrailingSeparator(a) == platform::EnsureTrailingSeparator(b)) return true;
  std::error_code error;
  bool same = std::filesystem::equivalent(a, b, error);
  return !error && same;
}

}  // namespace kvqt
