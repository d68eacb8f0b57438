#include "app/core/output_file_name.h"

#include <string>

#include "platform/path.h"

namespace kvqt {

bool OutputFileNameAllowed(std::string_view path) {
  const std::string name = platform::FileNamePart(std::string(path));
  for (const char* reserved : {"query.dat", "kvqt.prs", "kvqt.dat", "sksdat.dat"}) {
    if (platform::EqualsNoCase(name, reserved)) return false;
  }
  return true;
}

}  // namespace kvqt
