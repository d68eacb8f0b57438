// Which formats the file manager offers, and which of its buttons and fields a
// format allows.
#pragma once

#include <vector>

namespace kvqt {

class Format;
class Formats;

// Formats that take new instruments or whose master can be scanned, and that
// keep directories (output-only formats have none), in the order of `formats`.
std::vector<Format*> FileManagerFormats(const Formats& formats);

struct FileManagerFields {
  // Delete, New, "&Search in catalog..." and "&Add instrument".
  bool instrumentButtons = false;
  // The new-instrument fields, each with its label.
  bool name = false;
  bool symbol = false;
  bool startDate = false;
  bool factor = false;
  bool interval = false;
  bool open = false;
  // The Name field takes at most this many characters; read-only when the
  // format keeps no names (0).
  int nameLength = 0;
  bool nameReadOnly = true;
  int symbolLength = 8;
};

// Without a format (none offered) everything is off.
FileManagerFields FileManagerFieldsFor(const Format* format);

}  // namespace kvqt
