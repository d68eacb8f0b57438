// The program data file may come from an older version, another copy of the
// program or a damaged disk: no content may crash the reader, and whatever it
// reads must save again.
#include <cstdint>
#include <string_view>

#include "app/datafile/program_data_file.h"
#include "app/datafile/user_info.h"
#include "app/model/formats.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view bytes(reinterpret_cast<const char*>(data), size);
  for (bool predecessor : {false, true}) {
    kvqt::UserInfo userInfo;
    kvqt::Formats formats;
    kvqt::DataFileReadOptions options;
    options.importingPredecessor = predecessor;
    kvqt::DecodeProgramDataFile(bytes, options, userInfo, formats);
    kvqt::EncodeProgramDataFile(userInfo, formats);
  }
  return 0;
}
