#include "support/temp_dir.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace kvqt::testing {

TempDir::TempDir() {
  std::string pattern = (std::filesystem::temp_directory_path() / "kvqt-test-XXXXXX").string();
  if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
  path_ = pattern + "/";
}

TempDir::~TempDir() {
  std::error_code ec;
  std::filesystem::remove_all(path_, ec);
}

void TempDir::write(const std::string& name, const std::string& bytes) const { WriteFileBytes(file(name), bytes); }
std::string TempDir::read(const std::string& name) const { return ReadFileBytes(file(name)); }
bool TempDir::exists(const std::string& name) const { return std::filesystem::exists(file(name)); }

std::string ReadFileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteFileBytes(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

DirectoryFiles Snapshot(const std::string& directory) {
  DirectoryFiles files;
  for (const auto& entry : std::filesystem::directory_iterator(directory))
    files[entry.path().filename().string()] = ReadFileBytes(entry.path().string());
  return files;
}

void Restore(const std::string& directory, const DirectoryFiles& files) {
  for (const auto& entry : std::filesystem::directory_iterator(directory)) std::filesystem::remove(entry.path());
  for (const auto& [name, bytes] : files) WriteFileBytes(directory + name, bytes);
}

}  // namespace kvqt::testing
