#include "app/runner/version.h"

#include <cstdio>

namespace kvqt {

std::string FormatVersion(long version) {
  char text[64];
  std::snprintf(text, sizeof text, "%ld.%ld.%ld", version / 10000, (version / 100) % 100, version % 100);
  return text;
}

}  // namespace kvqt
