// Helpers of the request-file tests.
#pragma once

#include <cstdio>
#include <functional>
#include <string>

namespace kvqt::testing {

// What `write` puts into a fresh temporary file.
inline std::string Written(const std::function<void(std::FILE*)>& write) {
  std::FILE* f = std::tmpfile();
  if (!f) return "<no temporary file>";
  write(f);
  std::string text;
  std::rewind(f);
  char buffer[4096];
  std::size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) text.append(buffer, n);
  std::fclose(f);
  return text;
}

}  // namespace kvqt::testing
