// A fresh directory for one test, removed with everything in it afterwards.
#pragma once

#include <map>
#include <string>
#include <vector>

namespace kvqt::testing {

class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  // The directory, with a trailing '/'.
  const std::string& path() const { return path_; }
  std::string file(const std::string& name) const { return path_ + name; }

  void write(const std::string& name, const std::string& bytes) const;
  std::string read(const std::string& name) const;
  bool exists(const std::string& name) const;

 private:
  std::string path_;
};

// Reads a whole file as bytes (empty when missing).
std::string ReadFileBytes(const std::string& path);
void WriteFileBytes(const std::string& path, const std::string& bytes);

// Every file of a directory (by name) with its bytes.
using DirectoryFiles = std::map<std::string, std::string>;
DirectoryFiles Snapshot(const std::string& directory);
// Makes the directory hold exactly the files of a snapshot again.
void Restore(const std::string& directory, const DirectoryFiles& files);

}  // namespace kvqt::testing
