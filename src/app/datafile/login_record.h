// The login record: user number and password for the download service, and the
// date and time of the current run. Kept in "kvqt.prs" behind five zero bytes,
// with the password scrambled.
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

#include "datetime/date.h"
#include "datetime/time_value.h"

namespace kvqt {

inline constexpr const char* kLoginFileName = "kvqt.prs";
// The predecessor product's login file, copied to "kvqt.prs" once.
inline constexpr const char* kPredecessorLoginFileName = "personal.dat";

struct LoginRecord {
  static constexpr std::size_t kSize = 84;
  // Bytes of "kvqt.prs": five zero bytes, then the record.
  static constexpr std::size_t kFileSize = 89;
  static constexpr std::size_t kFilePrefix = 5;

  std::string userNumber;  // at most 8 characters
  std::string password;    // plain text, at most 8 characters
  // Fields of no use to this program, written back as they were read.
  std::array<unsigned char, 4> reserved18{};
  std::array<unsigned char, 4> reserved22{};
  Date sessionDate;
  Time sessionTime;
  std::array<unsigned char, 50> reserved34{};
};

// Character i of the password (up to its first NUL) is stored as
// (character + 50 + i) mod 256, and read back by subtracting the same.
std::string ScramblePassword(std::string_view password);
std::string UnscramblePassword(std::string_view stored);

// The 84 bytes of the record, password scrambled.
std::string EncodeLoginRecord(const LoginRecord& record);
// `bytes` must hold at least 84 bytes; the record is read from its first 84.
LoginRecord DecodeLoginRecord(std::string_view bytes);

// 0, or -1 when the file cannot be opened or is shorter than 89 bytes; the
// record is then empty (no user number or password, null date and time).
int ReadLoginFile(const std::string& path, LoginRecord& record);
// Replaces the file as a whole (readable by its owner only) and sets its
// modification time to now; 0, or -1 with the old file left as it was.
int WriteLoginFile(const std::string& path, const LoginRecord& record);

}  // namespace kvqt
