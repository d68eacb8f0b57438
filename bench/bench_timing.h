// What every benchmark measures with: elapsed seconds, and the machine's limit
// for the same bytes written by a program that knows nothing of formats.
#pragma once

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <string>
#include <vector>

namespace kvqt::bench {

inline double Seconds(std::chrono::steady_clock::time_point since) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

// Seconds to write `bytes` sequentially into one new file; -1 when it cannot be created.
inline double RawWrite(const std::string& path, long long bytes) {
  auto start = std::chrono::steady_clock::now();
  int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  if (fd < 0) return -1;
  std::vector<char> block(64 * 1024, 'x');
  for (long long done = 0; done < bytes;) {
    std::size_t n = static_cast<std::size_t>(std::min<long long>(static_cast<long long>(block.size()), bytes - done));
    if (::write(fd, block.data(), n) != static_cast<ssize_t>(n)) break;
    done += static_cast<long long>(n);
  }
  ::close(fd);
  return Seconds(start);
}

}  // namespace kvqt::bench
