#include "kvqt-info/read_input.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>

#include "platform/atomic_file.h"

namespace kvqt::info {

bool ReadInput(const std::string& path, std::string& bytes, std::ostream& err) {
  struct stat st;
  if (::stat(path.c_str(), &st) != 0) {
    err << "kvqt-info: cannot open " << path << ": " << std::strerror(errno) << "\n";
    return false;
  }
  if (!S_ISREG(st.st_mode)) {
    err << "kvqt-info: " << path << ": not a regular file\n";
    return false;
  }
  if (!platform::ReadWholeFile(path, bytes)) {
    err << "kvqt-info: cannot read " << path << ": " << std::strerror(errno) << "\n";
    return false;
  }
  return true;
}

}  // namespace kvqt::info
