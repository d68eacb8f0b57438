// What the file manager's Delete and Open do to a directory: deleting
// instruments from the master and the data model at once, and opening the data
// manager on one of them.
#pragma once

#include <vector>

namespace kvqt {

class Datafile;
class Directory;
class Format;

// Removes each data file's entry from the directory's master (the driver
// deletes what belongs to it) and the Datafile from the directory, without a
// question. A data file whose entry the driver could not delete (it said why)
// stays. Returns the number deleted.
int DeleteInstruments(const Format& format, Directory& directory, const std::vector<Datafile*>& datafiles);

// Opens the data manager on `datafile` of the directory and returns the data
// file it shows when it has closed: a rename on saving replaces the Datafile
// by another object, which is returned then. Null when the data manager could
// not open (its message was shown).
Datafile* OpenInstrument(Format& format, Directory& directory, Datafile& datafile);

}  // namespace kvqt
