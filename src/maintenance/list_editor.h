// What the list editor decides: adding and deleting a format's lists, and
// adding and removing a list's directories, with the editor's messages and
// questions (through the program's message interface).
#pragma once

#include <string>

#include "app/model/formats.h"

namespace kvqt {

inline constexpr const char* kNoListSelectedMessage = "No list selected";
inline constexpr const char* kDeleteListQuestion = "Delete list %s?";
inline constexpr const char* kSelectListFirstMessage = "Select a list first";
inline constexpr const char* kRemoveListDirectoryQuestion = "Remove directory:\n%s\nfrom the list?";
inline constexpr const char* kNoMasterMessage = "Can't access Masterfile of directory";

// The longest list name the data model keeps.
inline constexpr std::size_t kLongestListName = 255;

// A list of that name joins the format (an existing one is kept) and becomes
// current; an empty name adds nothing. For Koersbase II and Hermes a list
// named after an existing directory also gets that directory, in the list and
// the format, current in both. False when nothing was added or chosen.
bool AddEditorList(const std::string& name, const Formats& formats, Format& format);

// Deletes the format's list at `index` (-1: none selected) after the question.
bool RemoveEditorList(Format& format, int index);

// Whether a directory can be added to `list`; "Select a list first" when null.
bool ListChosen(const List* list);

// The directory the add-directory dialog returned joins the list and the
// format, current in both, after the directory editor's checks and messages.
bool AddEditorListDirectory(const std::string& path, const Formats& formats, Format& format, List& list);

// Removes the list's directory at `index` (-1: none selected) after the
// question; the format keeps it.
bool RemoveEditorListDirectory(List& list, int index);

// Brings the directory's entries up to date from its master; false after
// "Can't access Masterfile of directory" when the master cannot be read.
bool RefreshListDirectory(Directory& directory);

}  // namespace kvqt
