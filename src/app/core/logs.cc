#include "app/core/logs.h"

#include <cstdio>

#include "app/core/compose.h"
#include "app/core/showable_text.h"
#include "datetime/diagnostics.h"
#include "platform/text_file.h"

namespace kvqt {
namespace {

std::string g_directory;
int g_debug_mode = 0;

// A text that already ends in a line end (the diagnostics carry one) gets no second.
std::string_view WithoutLineEnd(std::string_view line) {
  while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.remove_suffix(1);
  return line;
}

}  // namespace

void Logs::SetDirectory(std::string directory) { g_directory = std::move(directory); }
const std::string& Logs::Directory() { return g_directory; }
void Logs::SetDebugMode(int mode) {
  g_debug_mode = mode;
  // The date and time code writes its diagnostics here.
  SetDateDiagnosticSink([](std::string_view line) { Logs::Debug(line); });
}
bool Logs::DebugMode() { return g_debug_mode != 0; }
std::string Logs::ReportPath() { return g_directory + kReportLogName; }
std::string Logs::DebugPath() { return g_directory + kDebugLogName; }

void Logs::DeleteReport() { std::remove(ReportPath().c_str()); }

// Lines may carry texts from outside (the server's, names on disk): no control
// character reaches the log.
void Logs::Report(std::string_view line) { platform::AppendLine(ReportPath(), ShowableText(WithoutLineEnd(line))); }

void Logs::Debug(std::string_view line) {
  if (DebugMode()) DebugAlways(line);
}

void Logs::DebugAlways(std::string_view line) {
  platform::AppendLine(DebugPath(), ShowableText(WithoutLineEnd(line)));
}

void debug(std::string_view text) { Logs::Debug(text); }
void debug2(std::string_view text, std::string_view text2) {
  if (Logs::DebugMode()) Logs::Debug(compose2(text, text2));
}
void debugInt(std::string_view text, int n) {
  if (Logs::DebugMode()) Logs::Debug(composeInt(text, n));
}
void debugLong(std::string_view text, long n) {
  if (Logs::DebugMode()) Logs::Debug(composeInt(text, n));
}

void debugFormat(const char* format, ...) {
  if (!Logs::DebugMode()) return;
  std::va_list args;
  va_start(args, format);
  std::string line = composeFormatV(format, args);
  va_end(args);
  Logs::Debug(line);
}

}  // namespace kvqt
