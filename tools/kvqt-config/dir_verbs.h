// kvqt-config add-dir, add-list and select: the directory editor's and the
// list editor's changes to the formats' directories, lists and selections.
#pragma once

#include "kvqt-config/verb.h"

namespace kvqt::config {

// add-dir FORMAT DIRECTORY
int RunAddDirVerb(VerbContext& context, const std::vector<std::string>& args);
// add-list FORMAT NAME [DIRECTORY...]
int RunAddListVerb(VerbContext& context, const std::vector<std::string>& args);
// select FORMAT LIST DIRECTORY all|none|SYMBOL...
int RunSelectVerb(VerbContext& context, const std::vector<std::string>& args);

}  // namespace kvqt::config
