// The request file "query.dat" that a download session uploads: the program
// version, the symbol-table, split-factor and release updates wanted, and one
// line per instrument asking only for the prices its local data file lacks (or,
// for a file download, the dates the user chose; or the user's own file).
#pragma once

#include <cstdio>
#include <string>

#include "app/core/action_info.h"
#include "datetime/date.h"
#include "datetime/time_value.h"
#include "formats/datafile_entry.h"

namespace kvqt {

class Format;

inline constexpr const char* kRequestFileName = "query.dat";

// Selection kinds (ActionInfo::kind); also the task file's values.
inline constexpr int kSelectDirectory = 0;      // chart-database download of one directory
inline constexpr int kSelectList = 1;           // ... of one list
inline constexpr int kSelectSymbol = 2;         // ... of one symbol
inline constexpr int kFileSelectDirectory = 3;  // file download of one directory
inline constexpr int kFileSelectList = 4;       // ... of one list
inline constexpr int kFileSelectSymbol = 5;     // ... of one symbol
inline constexpr int kSelectNothing = 6;        // only the header lines
inline constexpr int kSelectDefinitionFile = 7; // the user's own request file
inline constexpr int kSelectLocalImport = 8;    // no request: a local data file is imported

// Download types (ActionInfo::type, low bits) and the flags added to them.
inline constexpr int kUpdateNormal = 1;           // file download: single day
inline constexpr int kUpdateDateRange = 2;
inline constexpr int kUpdateRealtime = 3;
inline constexpr int kUpdateNormalAndRealtime = 4;
inline constexpr int kReplaceRealtimeFlag = 0x10;  // ask again for a day that holds a real-time price
inline constexpr int kReloadSymbolsFlag = 0x20;    // fetch the whole symbol table again

// Writes the request of `action` to `path` (created or truncated; lines end in
// CR LF). The program files it consults ("kvqt.sdb", "_kvqt.exe") are looked
// for in the directory of `path`. Stores today and now as the session date and
// time of action.login (when set). Kind 8 writes nothing. 0 on success; -1
// after "Error opening Requestfile", "Can't access Masterfile of directory",
// "Error opening Masterfile of directory" or "Error opening custom
// requestfile", with the file left as far as it was written.
int BuildRequestFile(ActionInfo& action, const std::string& path = kRequestFileName);

// The line of one chart-database entry for a download type without its
// flags, or nothing when the entry is up to date or the combination asks for
// nothing. `today` and `now` are the session's. Returns the number of lines
// written (0 or 1), -1 on a write error.
int WriteInstrumentLine(std::FILE* file, const DatafileEntry& entry, int formatId, int type, Date startDate,
                        Date endDate, Date today, Time now);

// The line of one entry for a file download (the action's type, period, price
// type and dates), or nothing. Returns 0 or 1 lines written, -1 on a write error.
int WriteFileDownloadLine(std::FILE* file, const ActionInfo& action, const DatafileEntry& entry);

// With "replace yesterday's real-time price": when the format's Directory of
// `directoryPath` holds the entry's Datafile (by symbol and name) with its
// realtime flag set, the copy's last date moves back one day, so that the day
// is asked for again and its final price replaces the real-time one.
void RefreshCheck(DatafileEntry& entry, const Format* format, const std::string& directoryPath);

// The message for a selection a download cannot work on (no list, no
// directory, no symbol), or null; the session and the download dialog refuse it.
const char* SelectionProblem(const ActionInfo& action);

}  // namespace kvqt
