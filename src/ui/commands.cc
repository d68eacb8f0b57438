#include "ui/commands.h"

namespace kvqt::ui {

const Command* FindCommand(int id) {
  for (const Command& c : kCommands) {
    if (c.id == id) return &c;
  }
  return nullptr;
}

const std::vector<Menu>& MainMenu() {
  static const std::vector<Menu> menu = {
      {"&File", {kCmdFileManager, kCmdSearch, kSeparator, kCmdExit}},
      {"&Tools",
       {kCmdConfigure, kSeparator, kCmdListEditor, kCmdDirectoryEditor, kSeparator, kCmdDownload, kCmdFileDownload,
        kCmdDefinitionFileDownload, kSeparator, kCmdConvert, kCmdAppend, kSeparator, kCmdTaskfile}},
      {"&Help", {kCmdHelp, kSeparator, kCmdAbout}},
  };
  return menu;
}

const std::vector<int>& ToolBarItems() {
  static const std::vector<int> items = {kCmdFileManager, kSeparator,    kCmdSearch,       kSeparator,
                                         kCmdDirectoryEditor, kCmdListEditor, kSeparator, kCmdConfigure,
                                         kSeparator,      kCmdFileDownload, kCmdDefinitionFileDownload,
                                         kCmdDownload};
  return items;
}

}  // namespace kvqt::ui
