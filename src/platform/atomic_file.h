// Whole-file rewrites that never leave a half-written file behind: the bytes go
// to a temporary file in the same directory, which then replaces the old one.
#pragma once

#include <string>
#include <string_view>

namespace kvqt::platform {

// False when anything fails; the old file is then untouched. The file gets
// exactly `mode`.
bool WriteFileAtomically(const std::string& path, std::string_view bytes, unsigned mode = 0644);

// The mode a new file gets from the user's umask: 0666 less the umask.
unsigned ModeFromUmask();

// The temporary files WriteFileAtomically leaves when the program is killed
// between writing and renaming: `path` followed by "." and six letters or
// digits. Removes those last changed more than a minute ago (a younger one
// may be another program's save in progress); returns how many.
int RemoveStaleTemporaries(const std::string& path);

// Sets the file's modification time to the program clock's now.
bool SetFileTimeNow(const std::string& path);

// Reads a whole file; false when it cannot be opened or read.
bool ReadWholeFile(const std::string& path, std::string& bytes);

}  // namespace kvqt::platform
