#include "formats/master_dat_layout.h"

#include <algorithm>
#include <cstring>

#include "datetime/mbf.h"
#include "platform/little_endian.h"

namespace kvqt::masterdat {
namespace {

// MBF -1000000000, the "no value" of the template's price fields.
constexpr unsigned char kNoValue[4] = {0x28, 0x6B, 0xEE, 0x9E};

void PutPadded(unsigned char* out, const std::string& text, std::size_t size) {
  std::memset(out, ' ', size);
  std::memcpy(out, text.data(), std::min(text.size(), size));
}

std::string GetTrimmed(const unsigned char* in, std::size_t size) {
  std::string text(reinterpret_cast<const char*>(in), size);
  if (auto nul = text.find('\0'); nul != std::string::npos) text.resize(nul);
  while (!text.empty() && static_cast<unsigned char>(text.back()) <= ' ') text.pop_back();
  return text;
}

std::uint32_t Clamp16(std::int32_t value) {
  return static_cast<std::uint32_t>(std::clamp<std::int32_t>(value, 0, 0xFFFF));
}

}  // namespace

void NewHeader(unsigned char* out80) {
  std::memset(out80, ' ', kRecordSize);
  static constexpr unsigned char kStart[8] = {0x21, 0xC6, 0x01, 0x01, 0, 0, 0, 0};
  std::memcpy(out80, kStart, sizeof kStart);
}

void NewRecord(const DatafileEntry& entry, unsigned char* out80) {
  std::memset(out80, 0, kRecordSize);
  PutPadded(out80 + kSymbol, entry.symbol, kSymbolSize);
  PutPadded(out80 + kName, entry.name, kNameSize);
  platform::PutLe16(out80 + kFileType, Clamp16(entry.fields));
  platform::PutLe16(out80 + kCount, Clamp16(entry.recordCount));
  platform::PutLe16(out80 + kRingSize, Clamp16(entry.ringSize));
  entry.lastDate.toPacked2Since1900(out80 + kLastDate);
  out80[kFileLetter] = static_cast<unsigned char>(entry.fileLetter);
  platform::PutLe16(out80 + kRingStart, Clamp16(entry.ringStart + 1));
  std::memcpy(out80 + kLastClose, kNoValue, 4);
  std::memcpy(out80 + 44, kNoValue, 4);
  std::memcpy(out80 + 63, kNoValue, 4);
  std::memcpy(out80 + 67, kNoValue, 4);
  std::memset(out80 + 73, ' ', 7);
}

bool HoldsSymbol(const unsigned char* record, const std::string& symbol) {
  unsigned char padded[kSymbolSize];
  PutPadded(padded, symbol, kSymbolSize);
  return std::memcmp(record + kSymbol, padded, kSymbolSize) == 0;
}

void ReadRecord(const unsigned char* record, DatafileEntry& entry) {
  entry.symbol = GetTrimmed(record + kSymbol, kSymbolSize);
  entry.name = GetTrimmed(record + kName, kNameSize);
  entry.fields = platform::GetLe16(record + kFileType);
  entry.recordCount = platform::GetLe16(record + kCount);
  entry.ringSize = platform::GetLe16(record + kRingSize);
  entry.lastDate = Date::FromPacked2(record + kLastDate);
  entry.fileLetter = static_cast<char>(record[kFileLetter]);
  int start = platform::GetLe16(record + kRingStart);
  entry.ringStart = start > 0 ? start - 1 : 0;
  entry.lastClose = MbfToFloat(record + kLastClose);
}

void FinalizeRecord(const DatafileEntry& entry, unsigned char* record) {
  PutPadded(record + kSymbol, entry.symbol, kSymbolSize);
  if (!entry.name.empty()) PutPadded(record + kName, entry.name, kNameSize);
  platform::PutLe16(record + kFileType, Clamp16(entry.fields));
  platform::PutLe16(record + kCount, Clamp16(entry.recordCount));
  platform::PutLe16(record + kRingSize, Clamp16(entry.ringSize));
  entry.lastDate.toPacked2Since1900(record + kLastDate);
  record[kFileLetter] = static_cast<unsigned char>(entry.fileLetter);
  platform::PutLe16(record + kRingStart, Clamp16(entry.ringStart + 1));
  FloatToMbf(entry.lastClose, record + kLastClose);
}

}  // namespace kvqt::masterdat
