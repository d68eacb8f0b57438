#include "app/datafile/user_info.h"

#include "app/model/text_field.h"
#include "platform/little_endian.h"

namespace kvqt {
namespace {

using platform::GetLeI16;
using platform::GetLeI32;
using platform::PutLe16;
using platform::PutLe32;

struct Layout {
  std::size_t size;
  std::size_t savft, tpvft, savmr, tpvmr, telno1, telno2;
  std::size_t networkDestination;  // npos: not in this layout
  std::size_t connection, commport, baudrate, dialtype, ddir, initstring, disk, lastsessiondate;
};

constexpr std::size_t kAbsent = static_cast<std::size_t>(-1);

constexpr Layout kCurrent = {UserInfo::kSize, 0, 3, 6, 10, 14, 35, 56, 87, 88, 89, 93, 94, 175, 275, 277};
constexpr Layout kOld = {UserInfo::kOldSize, 0, 3, 6, 10, 14, 35, kAbsent, 56, 57, 58, 62, 63, 144, 244, 246};

// Text field sizes, the same in both layouts.
constexpr std::size_t kFtSize = 3;
constexpr std::size_t kTelnoSize = 21;
constexpr std::size_t kDestinationSize = 31;
constexpr std::size_t kDdirSize = 81;
constexpr std::size_t kInitSize = 100;

class FieldReader {
 public:
  explicit FieldReader(std::string_view bytes) : bytes_(bytes) {}
  bool has(std::size_t offset, std::size_t size) const { return offset + size <= bytes_.size(); }
  const unsigned char* at(std::size_t offset) const {
    return reinterpret_cast<const unsigned char*>(bytes_.data()) + offset;
  }
  void text(std::size_t offset, std::size_t size, std::string& out) const {
    if (has(offset, size)) out = FieldText(bytes_.substr(offset, size), size - 1);
  }
  void u8(std::size_t offset, std::uint8_t& out) const {
    if (has(offset, 1)) out = *at(offset);
  }
  void i16(std::size_t offset, std::int16_t& out) const {
    if (has(offset, 2)) out = GetLeI16(at(offset));
  }
  void i32(std::size_t offset, std::int32_t& out) const {
    if (has(offset, 4)) out = GetLeI32(at(offset));
  }

 private:
  std::string_view bytes_;
};

bool Decode(std::string_view bytes, const Layout& layout, UserInfo& info) {
  FieldReader r(bytes);
  r.text(layout.savft, kFtSize, info.savft);
  r.text(layout.tpvft, kFtSize, info.tpvft);
  r.i32(layout.savmr, info.savmr);
  r.i32(layout.tpvmr, info.tpvmr);
  r.text(layout.telno1, kTelnoSize, info.telno1);
  r.text(layout.telno2, kTelnoSize, info.telno2);
  if (layout.networkDestination == kAbsent) {
    info.NetworkDestination.clear();
  } else {
    r.text(layout.networkDestination, kDestinationSize, info.NetworkDestination);
  }
  r.u8(layout.connection, info.connection);
  r.u8(layout.commport, info.commport);
  r.i32(layout.baudrate, info.baudrate);
  r.u8(layout.dialtype, info.dialtype);
  r.text(layout.ddir, kDdirSize, info.ddir);
  r.text(layout.initstring, kInitSize, info.initstring);
  r.i16(layout.disk, info.disk);
  std::int32_t date = info.lastsessiondate.value();
  r.i32(layout.lastsessiondate, date);
  info.lastsessiondate = Date::FromValue(date);
  return bytes.size() >= layout.size;
}

void PutText(std::string& out, std::size_t offset, std::size_t size, const std::string& text) {
  std::string cut = FieldText(text, size - 1);
  out.replace(offset, cut.size(), cut);
}

}  // namespace

std::string EncodeUserInfo(const UserInfo& info) {
  const Layout& l = kCurrent;
  std::string out(l.size, '\0');
  auto* p = reinterpret_cast<unsigned char*>(out.data());
  PutText(out, l.savft, kFtSize, info.savft);
  PutText(out, l.tpvft, kFtSize, info.tpvft);
  PutLe32(p + l.savmr, static_cast<std::uint32_t>(info.savmr));
  PutLe32(p + l.tpvmr, static_cast<std::uint32_t>(info.tpvmr));
  PutText(out, l.telno1, kTelnoSize, info.telno1);
  PutText(out, l.telno2, kTelnoSize, info.telno2);
  PutText(out, l.networkDestination, kDestinationSize, info.NetworkDestination);
  p[l.connection] = info.connection;
  p[l.commport] = info.commport;
  PutLe32(p + l.baudrate, static_cast<std::uint32_t>(info.baudrate));
  p[l.dialtype] = info.dialtype;
  PutText(out, l.ddir, kDdirSize, info.ddir);
  PutText(out, l.initstring, kInitSize, info.initstring);
  PutLe16(p + l.disk, static_cast<std::uint16_t>(info.disk));
  PutLe32(p + l.lastsessiondate, static_cast<std::uint32_t>(info.lastsessiondate.value()));
  return out;
}

bool DecodeUserInfo(std::string_view bytes, UserInfo& info) { return Decode(bytes, kCurrent, info); }
bool DecodeOldUserInfo(std::string_view bytes, UserInfo& info) { return Decode(bytes, kOld, info); }

void ClampConnection(UserInfo& info) {
  if (info.connection > 5 || info.connection == 1) info.connection = 0;
}

}  // namespace kvqt
