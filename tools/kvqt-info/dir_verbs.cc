#include "kvqt-info/dir_verbs.h"

#include <cerrno>
#include <cstdlib>

#include "app/core/messages.h"
#include "formats/driver_table.h"
#include "formats/format_driver.h"
#include "kvqt-info/info_output.h"
#include "platform/path.h"

namespace kvqt::info {
namespace {

void Put(std::ostream& file, const std::string& line) {
  file << line << '\n';
}

int Fail(std::ostream& err, const std::string& text) {
  Put(err, "kvqt-info: " + text);
  return 1;
}

int Usage(std::ostream& err, const char* usage) {
  Put(err, std::string("kvqt-info: usage: kvqt-info ") + usage);
  return 2;
}

bool ParseFormatId(const std::string& text, int& id) {
  if (text.empty() || text.size() > 3) return false;
  char* end = nullptr;
  errno = 0;
  long value = std::strtol(text.c_str(), &end, 10);
  if (*end != '\0' || errno != 0 || !IsValidFormatId(static_cast<int>(value))) return false;
  id = static_cast<int>(value);
  return true;
}

// What the drivers reported while the verb ran, as one line.
std::string Reported(ScopedMessages& messages, const std::string& otherwise) {
  const auto& shown = messages->shown();
  return shown.empty() ? otherwise : shown.back().text;
}

struct Target {
  std::string directory;
  int formatId = -1;
  DetectResult detected;
};

// The directory argument and the format id: given, or the one detected.
int Resolve(const std::string& dirArg, const std::string* idArg, Target& t, std::ostream& err) {
  if (!platform::DirectoryExists(dirArg)) return Fail(err, dirArg + ": not a directory");
  t.directory = platform::EnsureTrailingSeparator(dirArg);
  if (idArg && !ParseFormatId(*idArg, t.formatId)) return Fail(err, *idArg + ": not a format id (0 to 22)");
  if (!idArg) t.formatId = DetectFormat(t.directory, 4).found;
  t.detected = DetectFormat(t.directory, t.formatId);
  return 0;
}

}  // namespace

int RunDirVerb(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  if (args.empty() || args.size() > 2) return Usage(err, "dir DIR [FORMATID]");
  ScopedMessages messages;
  Target t;
  if (int rc = Resolve(args[0], args.size() == 2 ? &args[1] : nullptr, t, err)) return rc;
  Put(out, InfoLine("detect").integer("found", t.detected.found).integer("fits", t.detected.fits ? 1 : 0).str());
  if (t.detected.found == 23 && CheckMaster(t.formatId, t.directory) != 0) return 0;  // nothing there yet
  if (!IsValidFormatId(t.formatId)) return Fail(err, args[0] + ": format not recognised");
  if (CheckMaster(t.formatId, t.directory) == -2) return 0;

  MasterHandles masters;
  if (OpenMaster(masters, t.formatId, t.directory) != 0)
    return Fail(err, args[0] + ": " + Reported(messages, "cannot open the master file"));
  DatafileEntry entry;
  int flags = kScanReadHeader;
  int rc = 0;
  for (;;) {
    std::size_t before = messages->shown().size();
    if (ScanEntries(masters, t.formatId, entry, "", flags, t.directory) != 0) {
      if (messages->shown().size() > before) rc = Fail(err, args[0] + ": " + Reported(messages, ""));
      break;
    }
    flags |= kScanContinue;
    Put(out, InfoLine("entry")
                 .text("symbol", entry.symbol)
                 .text("name", entry.name)
                 .character("period", entry.period)
                 .integer("interval", entry.interval)
                 .date("first", entry.firstDate)
                 .time("firsttime", entry.firstTime)
                 .date("last", entry.lastDate)
                 .time("lasttime", entry.lastTime)
                 .integer("records", PriceRecordCount(entry, t.formatId))
                 .integer("file", entry.fileNumber)
                 .integer("fields", entry.fields)
                 .str());
  }
  CloseMaster(masters);
  return rc;
}

int RunRecordsVerb(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  if (args.size() < 2 || args.size() > 3) return Usage(err, "records DIR SYMBOL [FORMATID]");
  ScopedMessages messages;
  Target t;
  if (int rc = Resolve(args[0], args.size() == 3 ? &args[2] : nullptr, t, err)) return rc;
  if (!IsValidFormatId(t.formatId)) return Fail(err, args[0] + ": format not recognised");
  DatafileEntry entry;
  if (FindEntry(args[1], entry, t.formatId, t.directory) != 0)
    return Fail(err, args[1] + ": " + Reported(messages, "not found in " + args[0]));
  DatafileHandle handle;
  if (OpenDatafile(entry, handle, t.formatId, OpenMode::kRead, t.directory) != 0)
    return Fail(err, args[1] + ": " + Reported(messages, "cannot open its data file"));
  PriceRecord r;
  while (ReadRecord(entry, handle, r, t.formatId) == 0) {
    Put(out, InfoLine("record")
                 .date("date", r.date)
                 .time("time", r.time)
                 .real("open", r.open)
                 .real("high", r.high)
                 .real("low", r.low)
                 .real("close", r.close)
                 .real("volume", r.volume)
                 .str());
  }
  return 0;
}

}  // namespace kvqt::info
