// kvqt-config show: what is configured, in the plain key=value lines of kvqt-info.
#pragma once

#include "kvqt-config/verb.h"

namespace kvqt::config {

int RunShowVerb(VerbContext& context, const std::vector<std::string>& args);

}  // namespace kvqt::config
