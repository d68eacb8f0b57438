// Moving the price records of one instrument between two local chart
// databases: convert (re)creates the destination data file from the source,
// append adds the source records newer than the destination's last one.
#pragma once

#include "datetime/date.h"

namespace kvqt {

inline constexpr const char* kIllegalSourceDirectoryText = "Illegal source directory";
inline constexpr const char* kIllegalDestinationDirectoryText = "Illegal destination directory";
inline constexpr const char* kSameDirectoryText = "Source and Destination directory must be different";
inline constexpr const char* kIllegalSourceSymbolText = "Illegal source symbol";
inline constexpr const char* kIllegalDestinationSymbolText = "Illegal destination symbol";
inline constexpr const char* kSymbolNotInSourceText = "Can't find symbol in source masterfile";
inline constexpr const char* kErrorCreatingDestinationText = "Error creating destination datafile";
inline constexpr const char* kErrorOpeningDestinationText = "Error opening destination datafile";
inline constexpr const char* kErrorOpeningSourceText = "Error opening source datafile";
inline constexpr const char* kErrorWritingDestinationText = "Error writing destination datafile";
inline constexpr const char* kDataFileFullText = "Warning: Data file full";

class Format;
class Directory;
class Datafile;

// 0 when the data file was converted or skipped (the run goes on), -1 on an
// error that ends the run. `flags`: kConvertOverwrite or kConvertSkipExisting
// (action_info.h). A null start date means no lower bound.
int convertDatafile(int sourceFormatId, int destinationFormatId, Date startDate, int flags, Format* sourceFormat,
                    Directory* sourceDirectory, Format* destinationFormat, Directory* destinationDirectory,
                    Datafile* datafile);

// 1 when it ran to the end (with or without copying), 0 when it refused or
// failed; the run goes on either way. `datafile` belongs to the destination.
int appendDatafile(int sourceFormatId, int destinationFormatId, Format* sourceFormat, Directory* sourceDirectory,
                   Format* destinationFormat, Directory* destinationDirectory, Datafile* datafile);

}  // namespace kvqt
