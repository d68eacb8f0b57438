// The report log "kvqt.rpt" (status lines of the current run) and the debug log
// "kvqt.dbg" (diagnostics for support). Each write opens the file for appending,
// writes one line and closes it; a file that cannot be opened loses the line.
#pragma once

#include <string>
#include <string_view>

namespace kvqt {

inline constexpr const char* kReportLogName = "kvqt.rpt";
inline constexpr const char* kDebugLogName = "kvqt.dbg";

class Logs {
 public:
  // Directory the logs live in, with a trailing separator; empty means the
  // current directory (which start-up makes the program directory).
  static void SetDirectory(std::string directory);
  static const std::string& Directory();

  // The settings key "debugmode", read once at start-up.
  static void SetDebugMode(int mode);
  static bool DebugMode();

  static std::string ReportPath();
  static std::string DebugPath();

  // Starts a new report log for this run.
  static void DeleteReport();
  static void Report(std::string_view line);

  // Writes only while debug mode is on.
  static void Debug(std::string_view line);
  // Writes whatever the debug mode is (for the few lines that are always kept).
  static void DebugAlways(std::string_view line);
};

// Debug-log writers; each inserted text is cut at 80 characters.
void debug(std::string_view text);
void debug2(std::string_view text, std::string_view text2);
void debugInt(std::string_view text, int n);
void debugLong(std::string_view text, long n);
// printf-style line for the diagnostics of the lower layers, at most 1023 characters.
void debugFormat(const char* format, ...) __attribute__((format(printf, 1, 2)));

}  // namespace kvqt
