#include "kvqt-info/login_verb.h"

#include <string_view>

#include "app/datafile/login_record.h"
#include "kvqt-info/info_output.h"
#include "kvqt-info/read_input.h"

namespace kvqt::info {

int RunLoginVerb(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  bool show = false;
  std::vector<std::string> files;
  for (const std::string& arg : args) {
    if (arg == "--show-password") show = true;
    else files.push_back(arg);
  }
  if (files.size() != 1) {
    err << "kvqt-info: usage: kvqt-info login [--show-password] FILE\n";
    return 2;
  }
  const std::string& path = files[0];
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
             // Hidden unless asked for: the output may end up in a log or a screen share.
             .text("password", show ? record.password : record.password.empty() ? "none" : "set")
             .date("sessiondate", record.sessionDate)
             .time("sessiontime", record.sessionTime)
             .str()
      << '\n';
  return 0;
}

}  // namespace kvqt::info
