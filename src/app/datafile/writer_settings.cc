#include "app/datafile/writer_settings.h"

#include <cstdint>

namespace kvqt {
namespace {

WriterSettings g_settings;

int DigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'Z') return c - 'A' + 10;
  if (c >= 'a' && c <= 'z') return c - 'a' + 10;
  return -1;
}

int LowWord(std::int32_t value) { return static_cast<int>(static_cast<std::uint32_t>(value) & 0xFFFF); }

}  // namespace

WriterSettings& writerSettings() { return g_settings; }
void ResetWriterSettings() { g_settings = WriterSettings{}; }

int FileTypeFromText(std::string_view text, int fallback) {
  if (text.empty()) return fallback;
  int value = DigitValue(text[0]);
  if (value < 0) return fallback;
  if (text.size() > 1 && text[1] == 'D') value += 256;
  return value;
}

WriterSettings DeriveWriterSettings(const UserInfo& info) {
  WriterSettings settings;
  settings.technicalInvestorFileType = FileTypeFromText(info.savft, WriterSettings::kDefaultTechnicalInvestorFileType);
  settings.technicalInvestorMaxRecords = LowWord(info.savmr);
  settings.topVestFileType = FileTypeFromText(info.tpvft, WriterSettings::kDefaultTopVestFileType);
  settings.topVestMaxRecords = LowWord(info.tpvmr);
  return settings;
}

}  // namespace kvqt
