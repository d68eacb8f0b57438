#include "formats/symbol_file_layout.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <string_view>

#include "datetime/parse_date.h"
#include "formats/real6_codec.h"
#include "formats/three_byte_codec.h"
#include "platform/little_endian.h"

namespace kvqt::symbolfile {
namespace {

// Julian day number of 30 December 1899, day 0 of the day numbers.
constexpr long kDayZero = 2415019;
constexpr double kSecondsPerDay = 86400;

void PutLeDouble(unsigned char* p, double value) {
  std::uint64_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  platform::PutLe32(p, static_cast<std::uint32_t>(bits));
  platform::PutLe32(p + 4, static_cast<std::uint32_t>(bits >> 32));
}

double GetLeDouble(const unsigned char* p) {
  std::uint64_t bits = static_cast<std::uint64_t>(platform::GetLe32(p)) |
                       static_cast<std::uint64_t>(platform::GetLe32(p + 4)) << 32;
  double value;
  std::memcpy(&value, &bits, sizeof value);
  return value;
}

// Truncated into 0 .. INT32_MAX; NaN as 0.
std::int32_t VolumeInt(float volume) {
  if (!(volume > 0)) return 0;
  if (volume >= 2147483520.0f) return std::numeric_limits<std::int32_t>::max();
  return static_cast<std::int32_t>(volume);
}

void EncodeKbf(const PriceRecord& r, unsigned char* out) {
  r.date.toPacked2(out);
  PutThreeBytePrice(out + 2, r.high);
  PutThreeBytePrice(out + 5, r.low);
  PutThreeBytePrice(out + 8, r.close);
  PutThreeByteVolume(out + 11, r.volume >= 1 ? r.volume : 1, kMaxKbfVolume);
}

void DecodeKbf(const unsigned char* in, PriceRecord& r) {
  r.date = Date::FromPacked2(in);
  r.high = GetThreeBytePrice(in + 2);
  r.low = GetThreeBytePrice(in + 5);
  r.close = GetThreeBytePrice(in + 8);
  r.volume = static_cast<float>(GetThreeByteVolume(in + 11));
}

void EncodeKbt(const PriceRecord& r, unsigned char* out) {
  PutLeDouble(out, DayNumber(r.date, r.time));
  PutLeDouble(out + 8, r.close);
  platform::PutLe32(out + 16, static_cast<std::uint32_t>(VolumeInt(r.volume)));
}

void DecodeKbt(const unsigned char* in, PriceRecord& r) {
  FromDayNumber(GetLeDouble(in), r.date, r.time);
  float price = static_cast<float>(GetLeDouble(in + 8));
  r.open = r.high = r.low = r.close = price;
  r.volume = static_cast<float>(platform::GetLeI32(in + 16));
}

void EncodeMm(const PriceRecord& r, unsigned char* out) {
  platform::PutLe32(out, static_cast<std::uint32_t>(r.date.toYYMMDD()));
  platform::PutLeFloat(out + 4, r.volume);
  platform::PutLeFloat(out + 8, r.high);
  platform::PutLeFloat(out + 12, r.low);
  platform::PutLeFloat(out + 16, r.close);
}

void DecodeMm(const unsigned char* in, PriceRecord& r) {
  r.date = Date::FromInt(platform::GetLeI32(in));
  r.volume = platform::GetLeFloat(in + 4);
  r.high = platform::GetLeFloat(in + 8);
  r.low = platform::GetLeFloat(in + 12);
  r.close = platform::GetLeFloat(in + 16);
}

void EncodeHdf(const PriceRecord& r, unsigned char* out) {
  out[0] = 6;
  char text[16];
  std::snprintf(text, sizeof text, "%06ld", static_cast<long>(r.date.toYYMMDD()));
  std::memcpy(out + 1, text, 6);
  PutReal6(out + 7, r.open);
  PutReal6(out + 13, r.high);
  PutReal6(out + 19, r.low);
  PutReal6(out + 25, r.close);
  PutReal6(out + 31, r.volume);
  PutReal6(out + 37, 0);
}

void DecodeHdf(const unsigned char* in, PriceRecord& r) {
  r.date = ParseDate(std::string_view(reinterpret_cast<const char*>(in + 1), 6), "ymd");
  r.open = GetReal6(in + 7);
  r.high = GetReal6(in + 13);
  r.low = GetReal6(in + 19);
  r.close = GetReal6(in + 25);
  r.volume = GetReal6(in + 31);
}

}  // namespace

std::size_t RecordSize(int formatId) {
  switch (formatId) {
    case 6:
      return 14;
    case 1:
    case 22:
      return 20;
    case 7:
      return 43;
    default:
      return 0;
  }
}

std::size_t HeaderSize(int formatId) { return formatId == 1 ? kMmHeaderSize : 0; }

void EncodeRecord(int formatId, const PriceRecord& record, unsigned char* out) {
  switch (formatId) {
    case 6:
      return EncodeKbf(record, out);
    case 22:
      return EncodeKbt(record, out);
    case 1:
      return EncodeMm(record, out);
    case 7:
      return EncodeHdf(record, out);
    default:
      return;
  }
}

void DecodeRecord(int formatId, const unsigned char* in, PriceRecord& record) {
  record = PriceRecord();
  switch (formatId) {
    case 6:
      return DecodeKbf(in, record);
    case 22:
      return DecodeKbt(in, record);
    case 1:
      return DecodeMm(in, record);
    case 7:
      return DecodeHdf(in, record);
    default:
      return;
  }
}

double DayNumber(Date date, Time time) {
  if (date.isNull()) return 0;
  double day = static_cast<double>(date.julianDay() - kDayZero);
  if (time.isNull()) return day;
  return day + (time.hour() * 3600 + time.minute() * 60 + time.second()) / kSecondsPerDay;
}

bool FromDayNumber(double dayNumber, Date& date, Time& time) {
  date = Date();
  time = Time();
  // Far outside the dates a Date can hold; keeps the conversion in range.
  if (!std::isfinite(dayNumber) || dayNumber < 0 || dayNumber > 1e6) return false;
  long long seconds = std::llround(dayNumber * kSecondsPerDay);
  long long days = seconds / 86400;
  int ofDay = static_cast<int>(seconds % 86400);
  date = Date::FromJulianDay(static_cast<long>(days) + kDayZero);
  if (date.isNull()) return false;
  time = Time(ofDay / 3600, ofDay / 60 % 60, ofDay % 60);
  return true;
}

void ReadMmHeader(const unsigned char* in100, MmHeader& header) {
  const char* symbol = reinterpret_cast<const char*>(in100 + 1);
  header.symbol.assign(symbol, strnlen(symbol, 9));
  header.count = platform::GetLe16(in100 + 11);
  header.firstDate = Date::FromInt(platform::GetLeI32(in100 + 13));
  header.lastDate = Date::FromInt(platform::GetLeI32(in100 + 17));
  header.period = static_cast<char>(in100[21]);
}

void WriteMmHeader(const MmHeader& header, unsigned char* inOut100) {
  std::memset(inOut100 + 1, 0, 10);
  std::memcpy(inOut100 + 1, header.symbol.data(), header.symbol.size() < 8 ? header.symbol.size() : 8);
  platform::PutLe16(inOut100 + 11, static_cast<std::uint32_t>(header.count < 0 ? 0 : header.count));
  platform::PutLe32(inOut100 + 13, static_cast<std::uint32_t>(header.firstDate.toYYMMDD()));
  platform::PutLe32(inOut100 + 17, static_cast<std::uint32_t>(header.lastDate.toYYMMDD()));
  inOut100[21] = static_cast<unsigned char>(header.period);
}

}  // namespace kvqt::symbolfile
