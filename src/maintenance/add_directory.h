// A directory joining a format, or a list and its format: what the directory
// editor, the list editor and kvqt-config add-dir all do. A missing directory
// is made with its parents, the format detection refuses a directory that
// holds another format (with the editor's messages), and an older ASCII index
// is converted only when the convert question is answered Yes.
#pragma once

#include <functional>
#include <string>

#include "app/model/formats.h"

namespace kvqt {

inline constexpr const char* kFormerAsciiMessage = "Directory contains former ascii datafiles";
inline constexpr const char* kOtherFormatMessage = "Directory contains datafiles of another format";
inline constexpr const char* kConvertQuestion =
    "Ascii Masterfile will be converted. It can no longer be used with the DOS Korvane! Convert???";

// Asked before an older ASCII index is converted; true for Yes.
using ConvertAnswer = std::function<bool()>;

struct AddedDirectory {
  Directory* directory = nullptr;  // the format's entry (the list's one for a list); null when refused
  bool alreadyInFormat = false;    // the format had the directory before
  bool alreadyInList = false;      // the list had the directory before
  bool created = false;            // the directory did not exist and was made
  bool converted = false;          // the older ASCII index was converted
  bool declined = false;           // the convert question was answered No: nothing was added
  std::string message;             // why it was refused (the question when declined)
};

// `path` ends in a separator. The directory joins `format` (unless it is there
// already) and becomes its current directory; `formats` names a format found
// in the directory instead.
AddedDirectory AddDirectoryToFormat(const std::string& path, const Formats& formats, Format& format,
                                    const ConvertAnswer& convert);

// As AddDirectoryToFormat, and the directory also joins `list` (its own entry
// with its own selection), current in both.
AddedDirectory AddDirectoryToList(const std::string& path, const Formats& formats, Format& format, List& list,
                                  const ConvertAnswer& convert);

// The editor's text for a directory that does not fit: found id -2 (older ASCII
// index), 23 (nothing recognised) or the id of another format, named by `formats`.
std::string MismatchMessage(int found, const Formats& formats);

}  // namespace kvqt
