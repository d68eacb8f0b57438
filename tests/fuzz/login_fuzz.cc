// "kvqt.prs" is read at every start: no content may crash the reader.
#include <cstdint>
#include <string_view>

#include "app/datafile/login_record.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view bytes(reinterpret_cast<const char*>(data), size);
  if (bytes.size() >= kvqt::LoginRecord::kSize) kvqt::EncodeLoginRecord(kvqt::DecodeLoginRecord(bytes));
  return 0;
}
