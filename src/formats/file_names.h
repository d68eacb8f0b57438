// Data-file names by format id.
#pragma once

#include <string>

#include "formats/datafile_entry.h"

namespace kvqt {

// The data file's path: the directory (ending in a separator) and the name the
// format gives. 0, or -1 for ids without data files and for a missing
// directory ("build_filename: Illegal directory").
int BuildFileName(const DatafileEntry& entry, std::string& out, int formatId, const std::string& directory);

}  // namespace kvqt
