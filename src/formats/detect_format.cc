// Which format an existing directory holds, from the files it contains.
#include <cstdio>
#include <cstring>
#include <string>

#include "formats/file_locator.h"
#include "formats/format_driver.h"
#include "formats/metastock_layout.h"
#include "platform/little_endian.h"

namespace kvqt {
namespace {

std::string ReadPrefix(const std::string& path, std::size_t n) {
  std::string bytes(n, '\0');
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return std::string();
  bytes.resize(std::fread(bytes.data(), 1, n, f));
  std::fclose(f);
  return bytes;
}

DetectResult FromMaster(const std::string& path, int wanted) {
  using namespace metastock;
  DetectResult r;
  std::string bytes = ReadPrefix(path, 2 * kMasterRecordSize);
  if (bytes.size() < kMasterRecordSize) return r;  // fits nothing
  const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
  if (platform::GetLe16(p + master::kCount) == 0) {
    r.found = wanted == 20 ? 20 : 4;
    r.fits = wanted == 3 || wanted == 4 || wanted == 20;
    return r;
  }
  if (bytes.size() < 2 * kMasterRecordSize) return r;
  char period = static_cast<char>(p[kMasterRecordSize + master::kPeriod]);
  if (period == 'I') {
    r.found = 20;
    r.fits = wanted == 20;
  } else if (period == 'D' || period == 'W' || period == 'M') {
    r.found = 4;
    r.fits = wanted == 3 || wanted == 4;
  }
  return r;
}

// The id the first line of an older ASCII directory's data file shows.
int FromFirstLine(const std::string& line) {
  if (line.find('/') != std::string::npos) return 11;
  if (line.find('-') != std::string::npos) return 10;
  if (line.find('\t') != std::string::npos) return 9;
  return line.find(',') == 8 ? 15 : 5;
}

DetectResult FromAsciiIndex(const std::string& directory, const std::string& path, int wanted) {
  DetectResult r;
  std::string bytes = ReadPrefix(path, 91);
  if (bytes.size() >= 31 && bytes[0] == 20 && bytes[1] == 20) {
    r.found = static_cast<signed char>(bytes[30]);
    r.fits = wanted == r.found;
    return r;
  }
  // The older layout: 22-byte records from offset 0, the symbol in the first 9 bytes.
  r.found = -2;
  DatafileEntry entry;
  SetEntrySymbol(entry, bytes.substr(0, bytes.size() < 9 ? bytes.size() : 9));
  std::string name;
  std::FILE* f = nullptr;
  if (BuildFileName(entry, name, wanted, directory) == 0) f = std::fopen(LocatePath(name).c_str(), "rb");
  if (!f) {
    r.fits = true;
    return r;
  }
  std::string line;
  int c;
  while ((c = std::fgetc(f)) != EOF && c != '\n' && c != '\r' && line.size() < 4096) line.push_back(static_cast<char>(c));
  std::fclose(f);
  r.fits = wanted == FromFirstLine(line);
  return r;
}

}  // namespace

DetectResult DetectFormat(const std::string& directory, int wanted) {
  DetectResult r;
  std::string path;
  if (!(path = FindExistingFile(directory, "MASTER")).empty()) return FromMaster(path, wanted);
  if (!FindExistingFile(directory, "master.dat").empty()) {
    r.found = 0;
    r.fits = wanted == 0 || wanted == 8;
    return r;
  }
  if (!(path = FindExistingFile(directory, "master.kvq")).empty() ||
      !(path = FindExistingFile(directory, "master.bin")).empty())
    return FromAsciiIndex(directory, path, wanted);
  if (!FindExistingFile(directory, "effecten.dat").empty()) {
    r.found = 12;
    r.fits = wanted == 12;
    return r;
  }
  if (!FindExistingFile(directory, "MASTER.NDX").empty()) {
    r.found = 16;
    r.fits = wanted == 16;
    return r;
  }
  r.found = 23;
  r.fits = true;
  return r;
}

}  // namespace kvqt
