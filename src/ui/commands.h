// The main window's commands: ids, menu texts and hints, the menu structure
// and the tool bar order.
#pragma once

#include <vector>

namespace kvqt::ui {

enum CommandId : int {
  kCmdFileManager = 1002,
  kCmdSearch = 391,
  kCmdExit = 24310,
  kCmdConfigure = 1009,
  kCmdListEditor = 1008,
  kCmdDirectoryEditor = 1007,
  kCmdDownload = 1012,
  kCmdFileDownload = 1014,
  kCmdDefinitionFileDownload = 1013,
  kCmdConvert = 1010,
  kCmdAppend = 1011,
  kCmdTaskfile = 1015,
  kCmdHelp = 1017,
  kCmdAbout = 1016,
  kCmdEnter = 924,  // the Enter key: the same as Download
};

// The file-download dialog's modes.
inline constexpr int kFileDownloadMode = 1003;
inline constexpr int kDefinitionFileDownloadMode = 1004;

struct Command {
  int id;
  const char* menuText;
  const char* hint;  // "" for none
};

inline constexpr Command kCommands[] = {
    {kCmdFileManager, "File &Manager", "Opens file manager"},
    {kCmdSearch, "&Search", "Search Dialog"},
    {kCmdExit, "E&xit", "Terminates the korvane"},
    {kCmdConfigure, "&Configure", "Shows configure dialog"},
    {kCmdListEditor, "&List Editor", "Edits lists to download"},
    {kCmdDirectoryEditor, "D&irectory Editor", "Edits available directories for each format"},
    {kCmdDownload, "&Download", "Download"},
    {kCmdFileDownload, "&File Download", "Download to a single file"},
    {kCmdDefinitionFileDownload, "D&efinition File Download", "Download using a definition file"},
    {kCmdConvert, "C&onvert", "Shows dialog to convert datafiles"},
    {kCmdAppend, "&Append", "Shows dialog to append data from other dataformats"},
    {kCmdTaskfile, "&Taskfile", "Shows current taskfile"},
    {kCmdHelp, "&Help", ""},
    {kCmdAbout, "&About", "Shows the program version"},
};

const Command* FindCommand(int id);

// 0 stands for a separator.
inline constexpr int kSeparator = 0;

struct Menu {
  const char* title;
  std::vector<int> items;
};

const std::vector<Menu>& MainMenu();
const std::vector<int>& ToolBarItems();

}  // namespace kvqt::ui
