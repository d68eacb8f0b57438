// Opening the data manager on one data file: its records are read, checked
// and handed to the installed view.
#pragma once

#include "maintenance/split_proposal.h"

namespace kvqt {

class Format;
class Directory;
class Datafile;

inline constexpr const char* kTooLargeToEditText = "File too large to edit! Press any key to continue.";
inline constexpr const char* kTooLargeText = "Datafile too large for Datamanager";
inline constexpr const char* kNoMemoryText = "Not enough memory to read";
inline constexpr const char* kDatafileEmptyText = "Datafile empty";
inline constexpr const char* kDatafileIsEmptyText = "Datafile is empty";
inline constexpr const char* kNotReadToEndText = "Datafile could not be read to its end; it cannot be saved";

// The record count the data manager starts from: the Datafile's, or when that
// is not known (-1) the one the directory's master gives (-1 when that fails).
int ManagedRecordCount(const Format& format, const Directory& directory, const Datafile& datafile);

// A rename on saving replaces `datafile` in its directory by a new object
// (see RenameDatafile); the reference is then no longer valid.

// The file manager's Open: 1 when the view was shown; -1 when it could not
// open (the message was shown). A data file without records opens as well.
int OpenDataManager(Format& format, Directory& directory, Datafile& datafile);

// The split-factor step's opening: 1 when the view was shown with the
// announced split; 0 when the split date is not after the first record's date
// (nothing to do); -1 when it could not open (the message was shown).
int OpenDataManagerForSplit(Format& format, Directory& directory, Datafile& datafile,
                            const AnnouncedSplit& announced);

}  // namespace kvqt
