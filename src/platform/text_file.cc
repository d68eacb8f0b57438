#include "platform/text_file.h"

namespace kvqt::platform {

bool AppendLine(const std::string& path, std::string_view line) {
  std::FILE* f = std::fopen(path.c_str(), "ab");
  if (!f) return false;
  bool ok = std::fwrite(line.data(), 1, line.size(), f) == line.size() && std::fputs(kLineEnd, f) >= 0;
  return std::fclose(f) == 0 && ok;
}

bool WriteLines(const std::string& path, const std::vector<std::string>& lines) {
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  bool ok = true;
  for (const auto& line : lines) {
    ok = ok && std::fwrite(line.data(), 1, line.size(), f) == line.size() && std::fputs(kLineEnd, f) >= 0;
  }
  return std::fclose(f) == 0 && ok;
}

bool ReadLine(std::FILE* file, std::string& line) {
  line.clear();
  int c;
  bool any = false;
  while ((c = std::getc(file)) != EOF) {
    any = true;
    if (c == '\n') break;
    line.push_back(static_cast<char>(c));
  }
  if (!line.empty() && line.back() == '\r') line.pop_back();
  return any;
}

bool ReadLines(const std::string& path, std::vector<std::string>& lines) {
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return false;
  std::string line;
  while (ReadLine(f, line)) lines.push_back(line);
  std::fclose(f);
  return true;
}

}  // namespace kvqt::platform
