// kvqt-config user NUMBER PASSWORD and server HOST[:PORT]: the identification
// and the destination of the download session, as the configuration dialog
// sets them.
#pragma once

#include <string>
#include <string_view>

#include "kvqt-config/verb.h"

namespace kvqt::config {

int RunUserVerb(VerbContext& context, const std::vector<std::string>& args);
int RunServerVerb(VerbContext& context, const std::vector<std::string>& args);

// The destination text the session reads ("host" or "host port") for a
// HOST[:PORT] argument ("[v6address]:PORT" for an IPv6 address), or empty
// for "default". False with `problem` set when the argument is unusable.
bool DestinationArgument(std::string_view text, std::string& destination, std::string& problem);

}  // namespace kvqt::config
