#include "service/request_file.h"

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "app/datafile/login_record.h"
#include "app/core/logs.h"
#include "app/core/messages.h"
#include "app/model/datafile.h"
#include "app/model/directory.h"
#include "app/model/format.h"
#include "app/model/format_ids.h"
#include "app/model/list.h"
#include "app/model/text_field.h"
#include "app/core/personal_profile.h"
#include "app/runner/version.h"
#include "datetime/parse_date.h"
#include "formats/directory_refresh.h"
#include "formats/file_locator.h"
#include "formats/format_driver.h"
#include "formats/orvista_import.h"
#include "platform/clock.h"
#include "platform/path.h"
#include "platform/program_dir.h"
#include "service/request_text.h"
#include "service/symbols/sintable.h"

namespace kvqt {
namespace {

// A release waiting to be installed; no newer one is asked for meanwhile.
constexpr const char* kWaitingReleaseName = "_kvqt.exe";
// Far beyond any real directory; only a damaged master could get near it.
constexpr int kMaxEntries = 10'000'000;

struct Request {
  ActionInfo& action;
  std::FILE* file;
  int formatId;
  int type;  // without its flags
  bool replaceRealtime;
  Date today;
  Time now;
  bool writeFailed = false;
};

bool IsChartDownload(int kind) { return kind == kSelectDirectory || kind == kSelectList || kind == kSelectSymbol; }

void Write(Request& request, const std::string& line) {
  if (!WriteRequestLine(request.file, line)) request.writeFailed = true;
}

// An installed program cannot replace its own file, so it asks for no release.
bool ReleaseInstallable() {
  static const bool installable = [] {
    const bool replaceable = platform::ExecutableReplaceable(platform::ExecutablePath());
    if (!replaceable) Logs::Debug("Installed program (its folder is not its own): no new release is asked for");
    return replaceable;
  }();
  return installable;
}

void WriteHeader(Request& request, const std::string& programDirectory, bool reload) {
  const long v = kProgramVersion;
  const std::string version = FormatLine("f%ld.%ld.%ld", v / 10000, (v / 100) % 100, v % 100);
  Write(request, "VERSION " + version);
  if (!platform::FileExists(programDirectory + kWaitingReleaseName) && profile().isYes("newversion", "yes") &&
      ReleaseInstallable())
    Write(request, "NEWKVQT " + version);

  const std::string today = FormatLine("%ld", static_cast<long>(request.today.value()));
  const std::string symbolTable = programDirectory + TSintable::kFileName;
  bool requested = false;
  if (reload) std::remove(symbolTable.c_str());
  if (reload || profile().isYes("sinchanges", "yes")) {
    const std::string since = profile().getString("sinchangesdate", today);
    const Date sinceDate = ParseDate(since, "?md");
    if (!platform::FileExists(symbolTable)) {
      Write(request, "REQUEST 3|17");
      Write(request, "REQUEST 3|18");
      Write(request, "REQUEST 3|23");
    } else if (profile().isYes("optionchanges", "no")) {
      Write(request, FormatLine("REQUEST 3|22|%ld", static_cast<long>(sinceDate.value())));
    } else {
      Write(request, FormatLine("REQUEST 3|24|%ld", static_cast<long>(sinceDate.value())));
    }
    requested = true;
  }
  if (profile().isYes("splitfactors", "no")) {
    const std::string since = profile().getString("splitfactorsdate", today);
    const Date sinceDate = ParseDate(since, "?md").addDays(1);
    Write(request, FormatLine("REQUEST 3|21|%ld", static_cast<long>(sinceDate.value())));
    requested = true;
  }
  if (requested) {
    Write(request, "REQUEST 1|2");
    Write(request, "FIREREQUEST");
  }
}

// The directory's entries fresh from its master; for a chart download of an
// Orvista 2000 directory the import file is started anew, and a Koersbase II
// list file named like the list selects the list's instruments.
// `scanned` receives the entries the refresh read when it can hand them over.
int PrepareDirectory(Request& request, Directory& directory, const List* list, std::vector<DatafileEntry>& scanned,
                     bool& handed) {
  // The lines need only what the master holds.
  if (RefreshDirectory(directory, RefreshScan::kMasterOnly, scanned, handed) < 0) {
    message2("Can't access Masterfile of directory", directory.name());
    return -1;
  }
  if (!IsChartDownload(request.action.kind)) return 0;
  if (directory.formatId() == kFormatIdOrvista) {
    const std::string path = platform::EnsureTrailingSeparator(directory.name());
    const std::string existing = FindExistingFile(path, kOrvistaImportName);
    if (!existing.empty() && std::remove(existing.c_str()) == 0)
      DirectoryChange(path).removed(platform::FileNamePart(existing));
  }
  if (list && directory.formatId() == kFormatIdKoersbase && platform::FileExists(LocatePath(list->name())))
    ReadListFile(directory, list->name());
  return 0;
}

using EntryFilter = std::function<bool(const DatafileEntry&)>;

// One line per entry of the directory's master that the filter takes, in
// master order: the entries the refresh handed over, or a scan of the master.
int WriteEntries(Request& request, Directory& directory, const EntryFilter& take,
                 const std::vector<DatafileEntry>* scanned) {
  const std::string path = platform::EnsureTrailingSeparator(directory.name());
  MasterHandles masters;
  masters.directoryObject = &directory;
  if (!scanned && OpenMaster(masters, request.formatId, path) != 0) {
    message2("Error opening Masterfile of directory", directory.name());
    return -1;
  }
  const bool chart = IsChartDownload(request.action.kind);
  DatafileEntry read;
  const DatafileEntry* entry = nullptr;
  int flags = kScanNoDataFiles;
  std::size_t next = 0;
  auto nextEntry = [&] {
    if (scanned) {
      if (next >= scanned->size()) return false;
      entry = &(*scanned)[next++];
      return true;
    }
    entry = &read;
    return ScanEntries(masters, request.formatId, read, "", flags, path) == 0;
  };
  for (int n = 0; n < kMaxEntries && nextEntry(); ++n) {
    flags = kScanNoDataFiles | kScanContinue;
    if (!take(*entry)) continue;
    // The real-time check may move the entry's last date back; the entry read stays as it was.
    DatafileEntry checked;
    const DatafileEntry* line = entry;
    if (chart && request.replaceRealtime) {
      checked = *entry;
      RefreshCheck(checked, request.action.sourceFormat, directory.name());
      line = &checked;
    }
    const int written = chart ? WriteInstrumentLine(request.file, *line, request.formatId, request.type,
                                                    request.action.startDate, request.action.endDate, request.today,
                                                    request.now)
                              : WriteFileDownloadLine(request.file, request.action, *line);
    if (written < 0) request.writeFailed = true;
  }
  if (!scanned) CloseMaster(masters);
  return 0;
}

int WriteDirectory(Request& request, Directory* directory, const Datafile* symbol) {
  if (!directory) return 0;
  std::vector<DatafileEntry> scanned;
  bool handed = false;
  if (PrepareDirectory(request, *directory, nullptr, scanned, handed) != 0) return -1;
  const std::vector<DatafileEntry>* entries = handed ? &scanned : nullptr;
  if (!symbol) return WriteEntries(request, *directory, [](const DatafileEntry&) { return true; }, entries);
  // Symbols are compared exactly: "abc" is another instrument than "ABC".
  const std::string wanted = symbol->symbol();
  return WriteEntries(request, *directory, [&](const DatafileEntry& e) { return e.symbol == wanted; }, entries);
}

bool SelectedInList(const Directory& directory, const DatafileEntry& entry) {
  if (directory.selectionMode() == Directory::kSelectAll) return true;
  std::string name = FieldText(entry.name, kInstrumentNameSize);
  if (name.empty()) name = FieldText(entry.symbol, kInstrumentNameSize);
  const Datafile* datafile = directory.find(FieldText(entry.symbol, kSymbolSize), name);
  return datafile && datafile->selected();
}

int WriteList(Request& request, List* list) {
  if (!list) return 0;
  const bool chart = IsChartDownload(request.action.kind);
  for (int i = 0; i < list->directoryCount(); ++i) {
    Directory* directory = list->directoryAt(i);
    if (directory->selectionMode() == Directory::kSelectNone) continue;
    if (chart && !IsLineSafe(directory->name())) {
      // A path that would break its "CD" line apart cannot be named to the server.
      message2("Can't access Masterfile of directory", directory->name());
      return -1;
    }
    std::vector<DatafileEntry> scanned;
    bool handed = false;
    if (PrepareDirectory(request, *directory, list, scanned, handed) != 0) return -1;
    if (chart) Write(request, "CD " + directory->name());
    if (WriteEntries(request, *directory, [&](const DatafileEntry& e) { return SelectedInList(*directory, e); },
                     handed ? &scanned : nullptr) != 0)
      return -1;
  }
  return 0;
}

// The user's own request, copied as it is with its lines ended in CR LF.
int CopyDefinitionFile(Request& request) {
  if (request.action.sourceFormat && request.action.sourceFormat->formatId() == kFormatIdPelto)
    Write(request, "TYPE=PELTO");
  const std::string& name = request.action.definitionFile;
  std::FILE* in = name.empty() ? nullptr : std::fopen(platform::ResolveNoCase(name).c_str(), "rbe");
  if (!in) {
    message("Error opening custom requestfile");
    return -1;
  }
  int c;
  while ((c = std::fgetc(in)) != EOF) {
    if (c == '\r') {
      int after = std::fgetc(in);
      if (after != '\n' && after != EOF) std::ungetc(after, in);
      if (after == '\n') {
        std::fputs("\r\n", request.file);
        continue;
      }
      std::fputc('\r', request.file);
    } else if (c == '\n') {
      std::fputs("\r\n", request.file);
    } else {
      std::fputc(c, request.file);
    }
  }
  if (std::ferror(in)) request.writeFailed = true;
  std::fclose(in);
  return 0;
}

int WriteInstrumentLines(Request& request) {
  ActionInfo& action = request.action;
  switch (action.kind) {
    case kSelectDirectory:
    case kFileSelectDirectory:
      return WriteDirectory(request, action.sourceDirectory, nullptr);
    case kSelectList:
    case kFileSelectList:
      return WriteList(request, action.list);
    case kSelectSymbol:
    case kFileSelectSymbol:
      if (!action.datafile) return 0;
      return WriteDirectory(request, action.sourceDirectory, action.datafile);
    case kSelectDefinitionFile:
      return CopyDefinitionFile(request);
    default:
      return 0;
  }
}

int FormatIdOf(const ActionInfo& action) {
  if (action.sourceFormat) return action.sourceFormat->formatId();
  if (action.sourceDirectory) return action.sourceDirectory->formatId();
  if (action.list) return action.list->formatId();
  return -1;
}

}  // namespace

int BuildRequestFile(ActionInfo& action, const std::string& path) {
  const int flags = action.type & (kReplaceRealtimeFlag | kReloadSymbolsFlag);
  const platform::LocalDateTime local = platform::LocalNow();
  Request request{action,
                  nullptr,
                  FormatIdOf(action),
                  action.type & ~flags,
                  (flags & kReplaceRealtimeFlag) != 0,
                  Date(local.year, local.month, local.day),
                  Time(local.hour, local.minute, local.second)};
  if (action.login) {
    action.login->sessionDate = request.today;
    action.login->sessionTime = request.now;
  }
  // A local data file is imported as it is: there is nothing to ask for.
  if (action.kind == kSelectLocalImport) return 0;

  request.file = std::fopen(path.c_str(), "wbe");
  if (!request.file) {
    message("Error opening Requestfile");
    return -1;
  }
  WriteHeader(request, platform::DirectoryPart(path), (flags & kReloadSymbolsFlag) != 0);
  const int rc = WriteInstrumentLines(request);
  const bool failed = request.writeFailed || std::ferror(request.file);
  if (std::fclose(request.file) != 0 || (rc == 0 && failed)) {
    if (rc == 0) message("Error writing Requestfile");
    return -1;
  }
  return rc == 0 ? 0 : -1;
}

const char* SelectionProblem(const ActionInfo& action) {
  switch (action.kind) {
    case kSelectList:
      if (action.list == nullptr) return "No list selected";
      break;
    case kSelectDirectory:
      if (action.sourceDirectory == nullptr) return "No directory selected";
      break;
    case kSelectSymbol:
      if (action.sourceDirectory == nullptr || action.datafile == nullptr) return "No symbol selected";
      break;
    default:
      break;
  }
  return nullptr;
}

}  // namespace kvqt
