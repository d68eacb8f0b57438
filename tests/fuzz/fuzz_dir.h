// A scratch directory for the fuzz targets that read chart directories: made
// once per process, emptied before every input.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

namespace kvqt::fuzz {

class ScratchDir {
 public:
  ScratchDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "kvqt-fuzz-XXXXXX").string();
    if (::mkdtemp(pattern.data())) path_ = pattern + "/";
  }
  ~ScratchDir() {
    std::error_code ec;
    if (!path_.empty()) std::filesystem::remove_all(path_, ec);
  }
  // The directory with a trailing '/', emptied.
  const std::string& fresh() {
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(path_, ec)) std::filesystem::remove_all(entry, ec);
    return path_;
  }
  void write(const std::string& name, std::string_view bytes) const {
    std::ofstream(path_ + name, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  }

 private:
  std::string path_;
};

}  // namespace kvqt::fuzz
