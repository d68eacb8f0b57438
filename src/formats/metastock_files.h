// The files around a MetaStock entry besides the masters: the field
// definition file f<n>.DOP, the data file's header record, and the creation
// and whole rewrite of master files.
#pragma once

#include <string>
#include <string_view>

#include "formats/datafile_entry.h"

namespace kvqt::metastock {

// The text of the .DOP file of a daily (DATE OPEN HIGH LOW CLOSE VOL OI) or
// intraday (DATE TIME OPEN ...) entry, one line per field with CR LF ends.
std::string DopText(bool intraday);
// Writes f<n>.DOP for an entry numbered up to 255; false when it cannot be written.
bool WriteDopFile(const std::string& directory, int fileNumber, bool intraday);
std::string DopFileName(int fileNumber);

// Reads the data file's header into ringSize and recordCount (0 counts as 1).
// A missing data file gives counts 0 and success; a header shorter than
// fields x 4 bytes reports "Datafile corrupt: %s (%d)" and fails.
int ReadDataHeader(DatafileEntry& entry, const std::string& path);

// Creates a file that must not exist yet with these bytes; false (and no file)
// on any failure, also when the file exists.
bool CreateNewFile(const std::string& path, std::string_view bytes);
// Replaces `target` by writing `bytes` to `tempPath` first and renaming it over
// the target, so the old file stays whole until the new one is complete.
bool WriteTempFile(const std::string& tempPath, std::string_view bytes, const std::string& modeFrom);
bool RenameOver(const std::string& tempPath, const std::string& target);

}  // namespace kvqt::metastock
