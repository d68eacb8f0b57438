// What the directory editor decides: which formats it offers, and adding and
// removing a format's directories with the editor's messages and questions
// (through the program's message interface). Files on disk are never removed.
#pragma once

#include <string>
#include <vector>

#include "app/model/formats.h"

namespace kvqt {

inline constexpr const char* kNoDirectorySelectedMessage = "No directory selected";
inline constexpr const char* kRemoveDirectoryQuestion = "Are you sure you want to remove directory:\n%s\nfrom the korvane?";

// The formats that keep directories (output-only formats have none), in the
// order of `formats`.
std::vector<Format*> DirectoryFormats(const Formats& formats);

// The directory the add-directory dialog returned joins `format` and becomes
// its current directory; an older ASCII index is converted after the convert
// question. False after the refusal's message, or when the question was
// answered No.
bool AddEditorDirectory(const std::string& path, const Formats& formats, Format& format);

// Removes the format's directory at `index` (-1: none selected) after the
// question; false when nothing was removed.
bool RemoveEditorDirectory(Format& format, int index);

}  // namespace kvqt
