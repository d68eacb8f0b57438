// kvqt-config set SECTION KEY VALUE: one key of the settings file "kvqt.ini",
// written through the program's profile code.
#pragma once

#include "kvqt-config/verb.h"

namespace kvqt::config {

int RunSetVerb(VerbContext& context, const std::vector<std::string>& args);

}  // namespace kvqt::config
