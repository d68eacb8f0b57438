#include "kvqt-config/show_verb.h"

#include "app/datafile/login_record.h"
#include "app/core/personal_profile.h"
#include "kvqt-info/info_output.h"
#include "platform/path.h"
#include "service/session/destination.h"

namespace kvqt::config {
namespace {

using info::InfoLine;

void Line(std::ostream& out, const InfoLine& line) { out << line.str() << '\n'; }

InfoLine FileLine(const char* kind, const std::string& path) {
  InfoLine line(kind);
  line.text("path", path).text("exists", platform::FileExists(path) ? "yes" : "no");
  return line;
}

const char* SelectionName(int mode) {
  switch (mode) {
    case Directory::kSelectNone: return "none";
    case Directory::kSelectAll: return "all";
    default: return "selection";
  }
}

// A list's directory: its selection mode and, for a selection, the symbols
// that the data file keeps for it.
void ShowListDirectory(std::ostream& out, const Format& format, const List& list, int index) {
  const Directory& directory = *list.directoryAt(index);
  InfoLine line("directory");
  line.text("format", format.symbol())
      .text("list", list.name())
      .text("DirectoryName", directory.name())
      .text("selection", SelectionName(directory.selectionMode()));
  if (directory.selectionMode() == Directory::kSelectStored) {
    std::string symbols;
    for (int i = 0; i < directory.size(); ++i) {
      if (!directory.at(i)->selected()) continue;
      if (!symbols.empty()) symbols += ' ';
      symbols += directory.at(i)->symbol();
    }
    line.text("selected", symbols);
  }
  if (index == list.curDir()) line.text("current", "yes");
  Line(out, line);
}

void ShowFormat(std::ostream& out, const Formats& formats, const Format& format) {
  InfoLine line("format");
  line.text("symbol", format.symbol())
      .integer("FormatId", format.formatId())
      .text("name", format.name())
      .integer("directories", format.directoryCount())
      .integer("lists", format.listCount());
  if (!format.hasDirectories()) line.text("output", "only");
  if (formats.current() == &format) line.text("current", "yes");
  Line(out, line);
  for (int i = 0; i < format.directoryCount(); ++i) {
    InfoLine dir("directory");
    dir.text("format", format.symbol()).text("DirectoryName", format.directoryAt(i)->name());
    if (i == format.curDi()) dir.text("current", "yes");
    Line(out, dir);
  }
  for (int i = 0; i < format.listCount(); ++i) {
    const List& list = *format.listAt(i);
    InfoLine item("list");
    item.text("format", format.symbol()).text("ListName", list.name()).integer("directories", list.directoryCount());
    if (i == format.curLi()) item.text("current", "yes");
    Line(out, item);
    for (int j = 0; j < list.directoryCount(); ++j) ShowListDirectory(out, format, list, j);
  }
}

}  // namespace

int RunShowVerb(VerbContext& context, const std::vector<std::string>& /*args*/) {
  std::ostream& out = context.out;
  ConfigData& data = context.data;
  Line(out, InfoLine("programdirectory").text("path", data.programDirectory()));
  Line(out, FileLine("datafile", data.dataFilePath()));
  Line(out, FileLine("loginfile", platform::ResolveNoCase(data.programDirectory() + kLoginFileName)));
  Line(out, FileLine("settings", profile().path()));

  const LoginRecord& login = data.data().login();
  Line(out, InfoLine("login")
                .text("usernumber", login.userNumber)
                .text("password", login.password.empty() ? "none" : "set"));
  const UserInfo& userInfo = data.data().userInfo();
  ServerDestination server = ParseDestination(userInfo.NetworkDestination);
  Line(out, InfoLine("destination")
                .text("NetworkDestination", userInfo.NetworkDestination)
                .text("host", server.host)
                .integer("port", server.port)
                .integer("connection", userInfo.connection));

  Formats& formats = data.formats();
  for (int i = 0; i < formats.count(); ++i) ShowFormat(out, formats, *formats.at(i));
  return kExitOk;
}

}  // namespace kvqt::config
