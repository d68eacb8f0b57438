#include "app/runner/details_log.h"

#include "platform/text_file.h"

namespace kvqt {

std::vector<std::string> ReadDetailLines(const std::string& path) {
  std::vector<std::string> lines;
  if (!platform::ReadLines(path, lines)) return {"Error opening " + path};
  for (std::string& line : lines) {
    if (line.size() > kDetailLineLimit) line.resize(kDetailLineLimit);
  }
  return lines;
}

}  // namespace kvqt
