// What every kvqt-config verb works with.
#pragma once

#include <istream>
#include <ostream>
#include <string>
#include <vector>

#include "kvqt-config/config_data.h"

namespace kvqt::config {

// Exit codes.
inline constexpr int kExitOk = 0;
inline constexpr int kExitError = 1;
inline constexpr int kExitUsage = 2;

struct VerbContext {
  std::ostream& out;
  std::ostream& err;
  // Loaded, except for the verbs that do not need the program's data.
  ConfigData& data;
  // The answer to the convert question for an ASCII index of the older layout.
  bool convert = false;
  // Standard input, for a password given with --password-stdin; whether a
  // terminal on it may be prompted at.
  std::istream* in = nullptr;
  bool terminal = false;
  // --force: set writes a key of the program's section that it does not know.
  bool force = false;
};

// `args` without the verb. kExitOk when done (a changing verb's data are then
// saved by the caller), kExitError after a message on `err`.
using VerbFunction = int (*)(VerbContext& context, const std::vector<std::string>& args);

}  // namespace kvqt::config
