// kvqt-config user NUMBER PASSWORD and server HOST[:PORT]: the identification
// and the destination of the download session, as the configuration dialog
// sets them.
#pragma once

#include <string>
#include <string_view>

#include "kvqt-config/verb.h"

namespace kvqt::config {

inline constexpr const char* kPasswordStdinOption = "--password-stdin";

// user NUMBER PASSWORD, user NUMBER --password-stdin (the first line of
// standard input), or user NUMBER alone (a prompt without echo at the terminal).
int RunUserVerb(VerbContext& context, const std::vector<std::string>& args);
// The user number and the password from those forms: kExitOk, or kExitUsage
// or kExitError after a message.
int UserArguments(VerbContext& context, const std::vector<std::string>& args, std::string& number,
                  std::string& password);
int RunServerVerb(VerbContext& context, const std::vector<std::string>& args);

// The destination text the session reads ("host" or "host port") for a
// HOST[:PORT] argument ("[v6address]:PORT" for an IPv6 address), or empty
// for "default". False with `problem` set when the argument is unusable.
bool DestinationArgument(std::string_view text, std::string& destination, std::string& problem);

}  // namespace kvqt::config
