// Opening master.dat, adding an entry and writing an entry back. Counts and
// offsets are taken from the file size: a master.dat shorter than its header
// or whose header does not start with '!' is reported ("Masterfile corrupt:")
// and never written to; one that does not end on a whole record is read up to
// its last whole record but not added to.
#pragma once

#include <cstdint>
#include <string>

#include "formats/binary_file.h"
#include "formats/datafile_entry.h"

namespace kvqt::masterdat {

// 0; -2 when the directory has no master.dat (nothing reported); -1 when it
// cannot be opened or fails its header check (reported). Read-write with
// `forWriting`, otherwise read-only when read-write is refused.
int Open(BinaryFile& file, const std::string& directory, bool forWriting);
// The records the file holds, the header included.
std::int64_t WholeRecords(BinaryFile& file);

// The entry's record: the record that holds the symbol is reused, else the
// first free one, else a new one at the end. A directory without master.dat
// gets a new one with the header and the record. Sets the entry's master offset.
int Add(DatafileEntry& entry, const std::string& directory);
// Writes the entry into its record (at its master offset when that record
// still holds the symbol, else the record that does).
int WriteBack(const DatafileEntry& entry, const std::string& directory);
// The same through master.dat opened read-write by the caller.
int WriteBackTo(BinaryFile& file, const DatafileEntry& entry);

}  // namespace kvqt::masterdat
