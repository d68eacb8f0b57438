// What a file transfer accepts from the other side: the name a file is written
// under, and the size announced for it. Both come over a plain connection, so
// neither is trusted.
#pragma once

#include <cstdint>
#include <string_view>

namespace kvqt {

// Larger announced sizes are refused: no result comes near it, and a size
// that large is a fault or an attack, not a download.
inline constexpr std::int64_t kMaxTransferSize = std::int64_t{2} * 1024 * 1024 * 1024;

// True for a plain file name in the working directory: not empty, not "." or
// "..", no '/' or '\\', none of the characters '<', '>', '*', '?', no control
// character, no leading '-', and valid UTF-8 text.
bool IsPlainFileName(std::string_view name);

// True when a received name is the session's own file `wanted`; letter case
// does not count, as on the system the protocol was made for. The file is
// always written under `wanted`.
bool IsSessionFileName(std::string_view name, std::string_view wanted);

// Decimal digits, optionally surrounded by blanks, for a size from 1 to
// kMaxTransferSize. False for anything else (empty, a sign, trailing text,
// zero, too large).
bool ParseTransferSize(std::string_view text, std::int64_t* size);

}  // namespace kvqt
