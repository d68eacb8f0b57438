// Whether two directory paths name one directory. Convert and append refuse
// to copy a directory into itself: the destination is emptied or extended
// while the same file is read as the source.
#pragma once

#include <string>

namespace kvqt {

// The same text once both end in a separator, or, when both exist, the same
// directory on disk under another spelling (a link, "dir/./").
bool SameDirectory(const std::string& a, const std::string& b);

}  // namespace kvqt
