#include "kvqt-info/login_verb.h"

#include <string_view>

#include "app/datafile/login_record.h"
#include "kvqt-info/info_output.h"
#include "kvqt-info/read_input.h"

namespace kvqt::info {

int RunLoginVerb(const std::string& path, std::ostream& out, std::ostream& err) {
  std::string bytes;
  if (!ReadInput(path, bytes, err)) return 1;
  if (bytes.size() < LoginRecord::kFileSize) {
    err << "kvqt-info: " << path << ": login file too short (" << bytes.size() << " bytes, "
        << LoginRecord::kFileSize << " expected)\n";
    return 1;
  }
  LoginRecord record =
      DecodeLoginRecord(std::string_view(bytes).substr(LoginRecord::kFilePrefix, LoginRecord::kSize));
  out << InfoLine("login")
             .text("usernumber", record.userNumber)
             .text("password", record.password)
             .date("sessiondate", record.sessionDate)
             .time("sessiontime", record.sessionTime)
             .str()
      << '\n';
  return 0;
}

}  // namespace kvqt::info
