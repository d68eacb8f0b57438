#include "platform/path.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <strings.h>

namespace kvqt::platform {

std::string EnsureTrailingSeparator(std::string path) {
  if (!EndsWithSeparator(path)) path.push_back(kPathSeparator);
  return path;
}

bool EndsWithSeparator(std::string_view path) { return !path.empty() && path.back() == kPathSeparator; }

bool IsAbsolutePath(std::string_view path) { return !path.empty() && path.front() == kPathSeparator; }

std::string DirectoryPart(std::string_view path) {
  auto slash = path.rfind(kPathSeparator);
  return slash == std::string_view::npos ? std::string() : std::string(path.substr(0, slash + 1));
}

std::string FileNamePart(std::string_view path) {
  auto slash = path.rfind(kPathSeparator);
  return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

int CompareNoCase(std::string_view a, std::string_view b) {
  std::size_t n = a.size() < b.size() ? a.size() : b.size();
  for (std::size_t i = 0; i < n; ++i) {
    int ca = static_cast<unsigned char>(a[i]);
    int cb = static_cast<unsigned char>(b[i]);
    if (ca >= 'A' && ca <= 'Z') ca += 'a' - 'A';
    if (cb >= 'A' && cb <= 'Z') cb += 'a' - 'A';
    if (ca != cb) return ca < cb ? -1 : 1;
  }
  if (a.size() == b.size()) return 0;
  return a.size() < b.size() ? -1 : 1;
}

bool EqualsNoCase(std::string_view a, std::string_view b) { return a.size() == b.size() && CompareNoCase(a, b) == 0; }

bool FileExists(const std::string& path) {
  struct stat st;
  return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool DirectoryExists(const std::string& path) {
  struct stat st;
  return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::string FindFileNoCase(const std::string& directory, const std::string& name) {
  std::string exact = directory + name;
  if (FileExists(exact)) return exact;
  DIR* dir = ::opendir(directory.empty() ? "." : directory.c_str());
  if (!dir) return exact;
  std::string found;
  while (struct dirent* entry = ::readdir(dir)) {
    if (EqualsNoCase(entry->d_name, name) && FileExists(directory + entry->d_name)) {
      found = directory + entry->d_name;
      break;
    }
  }
  ::closedir(dir);
  return found.empty() ? exact : found;
}

std::string ResolveNoCase(const std::string& path) { return FindFileNoCase(DirectoryPart(path), FileNamePart(path)); }

bool CopyFileNoOverwrite(const std::string& from, const std::string& to, unsigned mode) {
  int in = ::open(from.c_str(), O_RDONLY);
  if (in < 0) return false;
  int out = ::open(to.c_str(), O_WRONLY | O_CREAT | O_EXCL, static_cast<mode_t>(mode));
  if (out < 0) {
    ::close(in);
    return false;
  }
  bool ok = true;
  char buffer[65536];
  for (;;) {
    ssize_t n = ::read(in, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      ok = n == 0;
      break;
    }
    for (ssize_t done = 0; done < n;) {
      ssize_t w = ::write(out, buffer + done, static_cast<std::size_t>(n - done));
      if (w < 0 && errno == EINTR) continue;
      if (w <= 0) {
        ok = false;
        break;
      }
      done += w;
    }
    if (!ok) break;
  }
  ::close(in);
  if (::close(out) != 0) ok = false;
  if (!ok) ::unlink(to.c_str());
  return ok;
}

bool MakeDirectories(const std::string& path) {
  if (path.empty()) return true;
  std::string partial;
  for (std::size_t i = 0; i <= path.size(); ++i) {
    if (i == path.size() || path[i] == kPathSeparator) {
      if (!partial.empty() && !DirectoryExists(partial)) ::mkdir(partial.c_str(), 0755);
    }
    if (i < path.size()) partial.push_back(path[i]);
  }
  return DirectoryExists(path);
}

}  // namespace kvqt::platform
