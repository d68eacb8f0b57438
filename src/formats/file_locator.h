// Finds existing files in a chart directory regardless of case, as they would
// be found on the case-insensitive systems these databases come from. A
// directory's listing is read once and kept while the directory is unchanged,
// so looking up thousands of data files does not list it thousands of times.
#pragma once

#include <string>

namespace kvqt {

// The path of the existing file `name` in `directory` (ending in a separator),
// matched regardless of case with the exact spelling preferred; empty when
// there is none.
std::string FindExistingFile(const std::string& directory, const std::string& name);
// The existing file's path, or directory + name (the spelling for a new file).
std::string LocateFile(const std::string& directory, const std::string& name);
// The same for a full path.
std::string LocatePath(const std::string& path);

// Forgets the kept listings (tests; after changes the modification time
// cannot show).
void ForgetDirectoryListings();

}  // namespace kvqt
