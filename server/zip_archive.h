// The result archive: named members, deflated, written into memory.
#pragma once

#include <ctime>
#include <string>
#include <vector>

namespace kvqt::server {

struct ZipMember {
  std::string name;
  std::string data;
};

// The archive's bytes in *out; every member is stamped with mtime. 0, or -1
// with the reason in *error.
int BuildZip(const std::vector<ZipMember>& members, std::time_t mtime, std::string* out, std::string* error);

// Reads an archive from memory (tests and the server's own checks); 0 or -1.
int ReadZip(const std::string& bytes, std::vector<ZipMember>* members, std::string* error);

}  // namespace kvqt::server
