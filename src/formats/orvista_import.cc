#include "formats/orvista_import.h"

#include <charconv>
#include <cstdio>
#include <vector>

#include "app/core/logs.h"
#include "app/core/messages.h"
#include "app/core/personal_profile.h"
#include "formats/file_locator.h"
#include "platform/drive_c.h"
#include "platform/ini_profile.h"
#include "platform/launcher.h"
#include "platform/path.h"

namespace kvqt {
namespace {

constexpr std::size_t kMarketCodeSize = 81;  // 80 characters
constexpr const char* kDefaultProgramPath = "c:\\Program Files\\Orvista2000";

bool IsAsciiAlnum(char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

// The fields are separated by '|' and the line ends the record: neither may
// come from a name.
std::string FieldText(const std::string& text) {
  std::string out = text;
  for (char& c : out)
    if (c == '|' || c == '\r' || c == '\n') c = ' ';
  return out;
}

void AppendFixed(double value, int decimals, std::string& out) {
  char buffer[64];
  auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
  if (result.ec == std::errc()) out.append(buffer, result.ptr);
}

// Each part of a path found regardless of case below `base`.
std::string LocateBelow(const std::string& base, const std::vector<std::string>& parts) {
  std::string path = platform::EnsureTrailingSeparator(base);
  for (std::size_t i = 0; i < parts.size(); ++i) {
    path = platform::FindFileNoCase(path, parts[i]);
    if (i + 1 < parts.size()) path = platform::EnsureTrailingSeparator(path);
  }
  return path;
}

}  // namespace

void ClearImportFile(const std::string& directory) {
  std::string path = FindExistingFile(directory, kOrvistaImportName);
  if (path.empty()) return;
  DirectoryChange change(directory);
  if (std::remove(path.c_str()) == 0) change.removed(platform::FileNamePart(path));
}

bool ReadMarketCode(std::string& code, const std::string& directory) {
  code.clear();
  std::string file = FindExistingFile(directory, kOrvistaMarketFile);
  if (!file.empty()) code = platform::GetProfileString(file, "Market", "Code", "", kMarketCodeSize);
  if (std::size_t bar = code.find('|'); bar != std::string::npos) code.resize(bar);
  return !code.empty();
}

std::string OrvistaImportLine(const std::string& marketCode, const DatafileEntry& entry, const PriceRecord& record) {
  std::string symbol;
  for (char c : entry.symbol)
    if (IsAsciiAlnum(c)) symbol += c;
  char date[16];
  std::snprintf(date, sizeof date, "%04d%02d%02d", record.date.year(), record.date.month(), record.date.day());
  std::string line = "7|" + FieldText(marketCode) + "|" + symbol + "|" + FieldText(entry.name) + "||" + date + "|";
  const float prices[] = {record.open, record.high, record.low, record.close};
  for (float price : prices) {
    AppendFixed(price, 2, line);
    line += '|';
  }
  AppendFixed(record.volume, 0, line);
  line += "\r\n";
  return line;
}

int WriteOrvistaRecord(std::FILE* file, const std::string& marketCode, DatafileEntry& entry,
                       const PriceRecord& record) {
  if (!file) return -1;
  std::string line = OrvistaImportLine(marketCode, entry, record);
  if (std::fwrite(line.data(), 1, line.size(), file) != line.size()) return -1;
  if (entry.firstDate.isNull() || record.date < entry.firstDate) entry.firstDate = record.date;
  if (entry.lastDate.isNull() || record.date > entry.lastDate) entry.lastDate = record.date;
  return 0;
}

int RunImporter(const std::string& directory) {
  std::string import = FindExistingFile(directory, kOrvistaImportName);
  if (import.empty()) return 0;

  std::string code;
  ReadMarketCode(code, directory);
  std::string targetName = code + ".ORV";
  std::string target = directory + targetName;
  {
    DirectoryChange change(directory);
    std::string existing = FindExistingFile(directory, targetName);
    if (!existing.empty() && std::remove(existing.c_str()) == 0)
      change.removed(platform::FileNamePart(existing));
    if (std::rename(import.c_str(), target.c_str()) == 0) {
      change.removed(platform::FileNamePart(import));
      change.created(targetName);
    }
  }
  if (!platform::FileExists(target)) {
    message2("Unable to create import file", target);
    return -1;
  }

  // The setting may be written the Windows way ("c:\\Program Files\\..."): drive c: is the Wine prefix's.
  std::string programPath = platform::FromWindowsPath(profile().getString("orvista2kpath", kDefaultProgramPath));
  debug2("     Orvista Path:", programPath);
  std::string importer = LocateBelow(programPath, {"Tools", "Ingest2000.exe"});
  if (!platform::FileExists(importer)) {
    message2("Orvista 2000 Importer not found", importer);
    return -1;
  }
  int rc = platform::StartProgram({importer, target});
  debugInt("rc WinExec:", rc);
  debug2("WinExec", "\"" + importer + "\" \"" + target + "\"");
  if (platform::StartFailed(rc)) {
    messageInt("Check your Orvista 2000 Program Path in Configuration:", rc);
    return -1;
  }
  return 0;
}

}  // namespace kvqt
