#include "app/datafile/login_record.h"

#include <algorithm>
#include <fstream>

#include "app/model/text_field.h"
#include "platform/atomic_file.h"
#include "platform/little_endian.h"

namespace kvqt {
namespace {

constexpr std::size_t kUserOffset = 0;
constexpr std::size_t kPasswordOffset = 9;
constexpr std::size_t kTextSize = 9;
constexpr std::size_t kReserved18 = 18;
constexpr std::size_t kReserved22 = 22;
constexpr std::size_t kDateOffset = 26;
constexpr std::size_t kTimeOffset = 30;
constexpr std::size_t kReserved34 = 34;

template <std::size_t N>
void CopyOut(std::string_view bytes, std::size_t offset, std::array<unsigned char, N>& out) {
  std::copy_n(bytes.data() + offset, N, reinterpret_cast<char*>(out.data()));
}

template <std::size_t N>
void CopyIn(std::string& bytes, std::size_t offset, const std::array<unsigned char, N>& in) {
  std::copy_n(reinterpret_cast<const char*>(in.data()), N, bytes.data() + offset);
}

}  // namespace

std::string ScramblePassword(std::string_view password) {
  std::string out;
  for (std::size_t i = 0; i < password.size() && password[i] != '\0'; ++i) {
    out += static_cast<char>(static_cast<unsigned char>(password[i]) + 50 + i);
  }
  return out;
}

std::string UnscramblePassword(std::string_view stored) {
  std::string out;
  for (std::size_t i = 0; i < stored.size() && stored[i] != '\0'; ++i) {
    out += static_cast<char>(static_cast<unsigned char>(stored[i]) - 50 - i);
  }
  return out;
}

std::string EncodeLoginRecord(const LoginRecord& record) {
  std::string out(LoginRecord::kSize, '\0');
  std::string user = FieldText(record.userNumber, kTextSize - 1);
  out.replace(kUserOffset, user.size(), user);
  std::string password = ScramblePassword(FieldText(record.password, kTextSize - 1));
  out.replace(kPasswordOffset, password.size(), password);
  CopyIn(out, kReserved18, record.reserved18);
  CopyIn(out, kReserved22, record.reserved22);
  auto* p = reinterpret_cast<unsigned char*>(out.data());
  platform::PutLe32(p + kDateOffset, static_cast<std::uint32_t>(record.sessionDate.value()));
  platform::PutLe32(p + kTimeOffset, static_cast<std::uint32_t>(record.sessionTime.value()));
  CopyIn(out, kReserved34, record.reserved34);
  return out;
}

LoginRecord DecodeLoginRecord(std::string_view bytes) {
  LoginRecord record;
  if (bytes.size() < LoginRecord::kSize) return record;
  record.userNumber = FieldText(bytes.substr(kUserOffset, kTextSize), kTextSize - 1);
  // A scrambled character can itself read as a NUL; the text ends there.
  record.password = FieldText(UnscramblePassword(bytes.substr(kPasswordOffset, kTextSize)), kTextSize - 1);
  CopyOut(bytes, kReserved18, record.reserved18);
  CopyOut(bytes, kReserved22, record.reserved22);
  const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
  record.sessionDate = Date::FromValue(platform::GetLeI32(p + kDateOffset));
  record.sessionTime = Time::FromInt(platform::GetLeI32(p + kTimeOffset));
  CopyOut(bytes, kReserved34, record.reserved34);
  return record;
}

int ReadLoginFile(const std::string& path, LoginRecord& record) {
  record = LoginRecord{};
  std::ifstream in(path, std::ios::binary);
  if (!in) return -1;
  char bytes[LoginRecord::kFileSize];
  in.read(bytes, sizeof bytes);
  if (in.gcount() < static_cast<std::streamsize>(sizeof bytes)) return -1;
  record = DecodeLoginRecord(std::string_view(bytes + LoginRecord::kFilePrefix, LoginRecord::kSize));
  return 0;
}

int WriteLoginFile(const std::string& path, const LoginRecord& record) {
  std::string bytes(LoginRecord::kFilePrefix, '\0');
  bytes += EncodeLoginRecord(record);
  if (!platform::WriteFileAtomically(path, bytes, 0600)) return -1;
  platform::SetFileTimeNow(path);
  return 0;
}

}  // namespace kvqt
