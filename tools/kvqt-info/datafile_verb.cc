#include "kvqt-info/datafile_verb.h"

#include <cerrno>
#include <cstring>

#include "app/datafile/program_data_file.h"
#include "app/model/format_ids.h"
#include "kvqt-info/info_output.h"
#include "kvqt-info/read_input.h"

namespace kvqt::info {
namespace {

void PrintDatafile(std::ostream& out, const Datafile& entry, int formatId) {
  InfoLine line("datafile");
  line.text("Symbol", entry.symbol()).text("Name", entry.name());
  if (formatId == kFormatIdWithMarket) line.integer("Market", entry.market());
  line.character("per", entry.per())
      .integer("sel", entry.selected() ? 1 : 0)
      .integer("rtflag", entry.realtime() ? 1 : 0)
      .real("factor", entry.factor());
  out << line.str() << '\n';
}

void PrintDirectory(std::ostream& out, const Directory& directory, int formatId, const List* list) {
  InfoLine line("directory");
  if (list) line.text("list", list->name());
  line.text("DirectoryName", directory.name())
      .integer("CurDataFile", directory.curDataFile())
      .integer("SelDataFile", directory.selectionMode())
      .integer("entries", directory.size());
  out << line.str() << '\n';
  for (int i = 0; i < directory.size(); ++i) PrintDatafile(out, *directory.at(i), formatId);
}

void PrintFormat(std::ostream& out, const Format& format) {
  out << InfoLine("format")
             .text("symbol", format.symbol())
             .text("name", format.name())
             .integer("FormatId", format.formatId())
             .integer("curLi", format.curLi())
             .integer("curDi", format.curDi())
             .character("fsep", format.fsep())
             .character("dsep", format.dsep())
             .character("frsep", format.frsep())
             .integer("formatflags", format.formatflags())
             .integer("MaxNameLength", format.maxNameLength())
             .integer("lists", format.listCount())
             .integer("directories", format.directoryCount())
             .str()
      << '\n';
  for (int i = 0; i < format.listCount(); ++i) {
    const List* list = format.listAt(i);
    out << InfoLine("list")
               .text("ListName", list->name())
               .integer("CurDir", list->curDir())
               .integer("directories", list->directoryCount())
               .str()
        << '\n';
    for (int j = 0; j < list->directoryCount(); ++j) PrintDirectory(out, *list->directoryAt(j), format.formatId(), list);
  }
  for (int i = 0; i < format.directoryCount(); ++i) {
    PrintDirectory(out, *format.directoryAt(i), format.formatId(), nullptr);
  }
}

void PrintUserInfo(std::ostream& out, const UserInfo& u) {
  out << InfoLine("userinfo")
             .text("savft", u.savft)
             .text("tpvft", u.tpvft)
             .integer("savmr", u.savmr)
             .integer("tpvmr", u.tpvmr)
             .text("telno1", u.telno1)
             .text("telno2", u.telno2)
             .text("NetworkDestination", u.NetworkDestination)
             .integer("connection", u.connection)
             .integer("commport", u.commport)
             .integer("baudrate", u.baudrate)
             .integer("dialtype", u.dialtype)
             .text("ddir", u.ddir)
             .text("initstring", u.initstring)
             .integer("disk", u.disk)
             .date("lastsessiondate", u.lastsessiondate)
             .str()
      << '\n';
}

}  // namespace

int RunDatafileVerb(const std::string& path, std::ostream& out, std::ostream& err) {
  std::string bytes;
  if (!ReadInput(path, bytes, err)) return 1;

  UserInfo userInfo;
  Formats formats;
  DataFileInfo info;
  int rc = DecodeProgramDataFile(bytes, DataFileReadOptions{}, userInfo, formats, &info);
  if (rc == kTooManyFormats) {
    err << "kvqt-info: " << path << ": holds " << info.storedFormats << " formats, more than "
        << kMaxStoredFormats << "\n";
    return 1;
  }
  if (rc == kDataFileDamaged) {
    err << "kvqt-info: " << path << ": damaged program data file (cut short or corrupt at byte "
        << info.damageOffset << ")\n";
    return 1;
  }

  out << InfoLine("version").integer("stream", info.streamFormat).integer("version", info.version).str() << '\n';
  PrintUserInfo(out, userInfo);
  const Format* current = formats.current();
  out << InfoLine("current").text("symbol", current ? current->symbol() : "").str() << '\n';
  for (int i = 0; i < formats.count(); ++i) PrintFormat(out, *formats.at(i));
  return 0;
}

}  // namespace kvqt::info
