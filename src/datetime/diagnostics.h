// Where the date and time code reports a value it cannot use ("Invalid year:
// %d" and the like). The program's debug log connects itself here when its
// mode is set; without a sink nothing is written.
#pragma once

#include <string_view>

namespace kvqt {

using DateDiagnosticSink = void (*)(std::string_view line);

// Returns the previous sink; nullptr writes nothing.
DateDiagnosticSink SetDateDiagnosticSink(DateDiagnosticSink sink);

// printf-style line, at most 1023 characters, to the sink.
void dateDiagnostic(const char* format, ...) __attribute__((format(printf, 1, 2)));

}  // namespace kvqt
