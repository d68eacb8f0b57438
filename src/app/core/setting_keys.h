// The keys of the settings file's section "configure" that the program reads
// or writes, so that a tool can tell a typing error from a setting.
#pragma once

#include <string_view>
#include <vector>

namespace kvqt {

// In the spelling the program writes them.
const std::vector<std::string_view>& KnownSettingKeys();

// Whether the key is one of them; keys compare without regard to case, as
// the settings file does.
bool IsKnownSettingKey(std::string_view key);

}  // namespace kvqt
