#include "datetime/diagnostics.h"

#include <cstdarg>
#include <cstdio>

namespace kvqt {
namespace {

DateDiagnosticSink g_sink = nullptr;

}  // namespace

DateDiagnosticSink SetDateDiagnosticSink(DateDiagnosticSink sink) {
  DateDiagnosticSink previous = g_sink;
  g_sink = sink;
  return previous;
}

void dateDiagnostic(const char* format, ...) {
  if (g_sink == nullptr) return;
  char buffer[1024];
  std::va_list args;
  va_start(args, format);
  std::vsnprintf(buffer, sizeof buffer, format, args);
  va_end(args);
  g_sink(buffer);
}

}  // namespace kvqt
