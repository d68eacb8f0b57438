#include "platform/atomic_file.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <ctime>
#include <string_view>

#include "platform/clock.h"
#include "platform/path.h"

namespace kvqt::platform {

bool WriteFileAtomically(const std::string& path, std::string_view bytes, unsigned mode) {
  std::string temp = path + ".XXXXXX";
  int fd = ::mkstemp(temp.data());
  if (fd < 0) return false;
  bool ok = ::fchmod(fd, static_cast<mode_t>(mode)) == 0;
  for (std::size_t done = 0; ok && done < bytes.size();) {
    ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) ok = false;
    else done += static_cast<std::size_t>(n);
  }
  ok = ok && ::fsync(fd) == 0;
  ok = (::close(fd) == 0) && ok;
  ok = ok && std::rename(temp.c_str(), path.c_str()) == 0;
  if (!ok) ::unlink(temp.c_str());
  return ok;
}

unsigned ModeFromUmask() {
  // umask() can only be read by setting it; the program runs one thread.
  mode_t mask = ::umask(022);
  ::umask(mask);
  return 0666u & ~static_cast<unsigned>(mask);
}

namespace {

constexpr std::size_t kTemporarySuffixSize = 7;  // "." and the six characters of mkstemp
constexpr long kStaleSeconds = 60;

bool IsTemporaryOf(std::string_view candidate, std::string_view name) {
  if (candidate.size() != name.size() + kTemporarySuffixSize || candidate.substr(0, name.size()) != name) return false;
  if (candidate[name.size()] != '.') return false;
  for (char c : candidate.substr(name.size() + 1))
    if (!std::isalnum(static_cast<unsigned char>(c))) return false;
  return true;
}

}  // namespace

int RemoveStaleTemporaries(const std::string& path) {
  const std::string directory = DirectoryPart(path);
  const std::string name = FileNamePart(path);
  DIR* dir = ::opendir(directory.empty() ? "." : directory.c_str());
  if (!dir) return 0;
  int removed = 0;
  while (struct dirent* entry = ::readdir(dir)) {
    if (!IsTemporaryOf(entry->d_name, name)) continue;
    const std::string candidate = directory + entry->d_name;
    struct stat st;
    if (::lstat(candidate.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) continue;
    if (std::time(nullptr) - st.st_mtime <= kStaleSeconds) continue;
    if (::unlink(candidate.c_str()) == 0) ++removed;
  }
  ::closedir(dir);
  return removed;
}

bool SetFileTimeNow(const std::string& path) {
  struct timespec times[2];
  times[0].tv_sec = times[1].tv_sec = Now();
  times[0].tv_nsec = times[1].tv_nsec = 0;
  return ::utimensat(AT_FDCWD, path.c_str(), times, 0) == 0;
}

bool ReadWholeFile(const std::string& path, std::string& bytes) {
  bytes.clear();
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return false;
  char buffer[65536];
  std::size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) bytes.append(buffer, n);
  bool ok = !std::ferror(f);
  std::fclose(f);
  return ok;
}

}  // namespace kvqt::platform
