// What the directory editor does before a directory joins a format: a missing
// directory is created with its parents (its "Create it?" answered Yes), and
// the format detection refuses a directory that holds another format, with the
// editor's messages. A directory whose ASCII index has the older layout is
// converted only when the caller says so (the editor's convert question).
#pragma once

#include <string>

#include "app/model/formats.h"

namespace kvqt::config {

inline constexpr const char* kFormerAsciiMessage = "Directory contains former ascii datafiles";
inline constexpr const char* kOtherFormatMessage = "Directory contains datafiles of another format";
inline constexpr const char* kConvertQuestion =
    "Ascii Masterfile will be converted. It can no longer be used with the DOS Korvane! Convert???";

struct DirectoryCheck {
  bool created = false;    // the directory did not exist and was made
  bool converted = false;  // the older ASCII index was converted
  bool needsConvert = false;  // refused: the older ASCII index waits for the answer Yes
  std::string message;     // why the directory was refused
};

// `path` ends in a separator. True when the directory may join `format`;
// `formats` gives the name of a format found instead.
bool CheckDirectoryForFormat(const std::string& path, const Formats& formats, const Format& format, bool convert,
                             DirectoryCheck& check);

// The editor's text for a directory that does not fit: found id -2 (older ASCII
// index), 23 (nothing recognised) or the id of another format, named by `formats`.
std::string MismatchMessage(int found, const Formats& formats);

}  // namespace kvqt::config
