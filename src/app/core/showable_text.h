// Texts that reach a terminal, a window or a log may come from outside (the
// download server's credit, names it announces, symbols of a result, file
// names found on disk). A control character in them would act on the
// terminal (window title, clear screen, colours) or break a log line, so
// everything shown or logged goes through here first.
#pragma once

#include <string>
#include <string_view>

namespace kvqt {

// The text with every control character other than tab and line feed (the
// program's own status texts use both), DEL, the C1 controls and every byte
// that is not part of valid UTF-8 replaced by '?'. Texts without any come
// back unchanged.
std::string ShowableText(std::string_view text);

}  // namespace kvqt
