// Opening a file to write it anew.
#pragma once

#include <string>

namespace kvqt::platform {

// Opens `path` with `flags` (O_CREAT among them, O_TRUNC not) and empties it,
// as O_TRUNC would; a file that is empty already (the usual case: it was just
// made) is left alone, since truncating makes ext4 write the file out when it
// is closed, a disk write per file that a file being made has no need of.
// The descriptor, or -1 with errno set.
int OpenEmptied(const std::string& path, int flags, unsigned mode);

}  // namespace kvqt::platform
