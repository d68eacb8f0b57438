// The connection record `UserInfo` of the program data file: file types and
// ring sizes for the Technical Investor and TopVest writers, the dial-up and
// network settings, and the date of the last download session.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "datetime/date.h"

namespace kvqt {

struct UserInfo {
  // Bytes of the current layout, and of the layout of versions up to 10504
  // (without `NetworkDestination`).
  static constexpr std::size_t kSize = 281;
  static constexpr std::size_t kOldSize = 250;

  // Texts hold at most their field size minus one (the field keeps a NUL).
  std::string savft = "1D";  // Technical Investor file type: hex digit, then 'D'
  std::string tpvft = "8D";  // TopVest file type
  std::int32_t savmr = 4000;  // Technical Investor maximum records
  std::int32_t tpvmr = 4000;  // TopVest maximum records
  std::string telno1;
  std::string telno2;
  std::string NetworkDestination;
  std::uint8_t connection = 4;  // 0 ... 5
  std::uint8_t commport = 0;
  std::int32_t baudrate = 0;
  std::uint8_t dialtype = 1;
  std::string ddir;
  std::string initstring;
  std::int16_t disk = 0;
  Date lastsessiondate;
};

// The 281 bytes of the current layout.
std::string EncodeUserInfo(const UserInfo& info);

// Field by field from the current (281-byte) or old (250-byte) layout. Fields
// that lie wholly within `bytes` are taken; the others keep their values, so a
// record cut short leaves the rest at what `info` held. Texts end at their
// first NUL. True when the whole record was there.
bool DecodeUserInfo(std::string_view bytes, UserInfo& info);
bool DecodeOldUserInfo(std::string_view bytes, UserInfo& info);

// A stored `connection` above 5, or 1, becomes 0.
void ClampConnection(UserInfo& info);

}  // namespace kvqt
