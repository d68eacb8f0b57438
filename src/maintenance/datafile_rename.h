// A Datafile's symbol and name are its identity in the directory's sorted
// entries, so a renamed instrument is a new Datafile in the old one's place.
#pragma once

#include <string_view>

namespace kvqt {

class Directory;
class Datafile;

// Replaces `datafile` (an entry of `directory`) by a copy with the new symbol
// and name and everything else kept; returns the copy. `datafile` is deleted.
// Null, with nothing changed, when `datafile` is not an entry of `directory`.
Datafile* RenameDatafile(Directory& directory, Datafile& datafile, std::string_view symbol, std::string_view name);

}  // namespace kvqt
