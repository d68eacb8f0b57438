// Data-file names by format id.
#pragma once

#include <string>

#include "formats/datafile_entry.h"

namespace kvqt {

// The data file's path: the directory (ending in a separator) and the name the
// format gives. 0, or -1 for ids without data files, for a missing directory
// ("build_filename: Illegal directory"), and for a symbol that would not name a
// file inside the directory (empty, "." or "..", or holding a slash or backslash).
int BuildFileName(const DatafileEntry& entry, std::string& out, int formatId, const std::string& directory);

}  // namespace kvqt
