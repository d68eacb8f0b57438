// The built-in chart formats. Every start merges them into the stored formats,
// so a program update brings its names, ids, flags and separators to formats
// the user configured under an older release.
#pragma once

#include <cstdint>
#include <span>

#include "app/model/formats.h"

namespace kvqt {

struct FormatTableRow {
  int formatId;
  const char* symbol;
  const char* name;
  std::uint8_t formatflags;
  int maxNameLength;
  char fsep;
  char dsep;  // '\0': none
  char frsep;
};

std::span<const FormatTableRow> FormatTable();

// Row by row: a format with the row's symbol takes the row's name, id, flags,
// name length and separators and keeps its lists, directories, `curLi` and
// `curDi`; a missing one is created from the row and added.
void MergeFormatTable(Formats& formats);

}  // namespace kvqt
