// Profile (INI) files with the semantics the program's settings were written
// for: section and key names are case-insensitive, blanks around '=' and the
// value are trimmed, surrounding quotes of a value are removed; a write keeps
// every other line of the file and creates the file, section or key when
// missing. Every call goes to the file; nothing is cached.
#pragma once

#include <optional>
#include <string>

namespace kvqt::platform {

// The value of the key, or nothing when the file, section or key is absent.
std::optional<std::string> ReadProfileValue(const std::string& file, const std::string& section, const std::string& key);

// The value, or the default when absent; cut to size - 1 characters.
std::string GetProfileString(const std::string& file, const std::string& section, const std::string& key,
                             const std::string& default_value, std::size_t size = 65536);

// Leading decimal digits of the value (an optional sign first); 0 when the value
// does not start with a number, 0 for a negative value, the default when absent.
int GetProfileInt(const std::string& file, const std::string& section, const std::string& key, int default_value);

// Sets key=value in the section; false when the file cannot be written.
bool WriteProfileString(const std::string& file, const std::string& section, const std::string& key,
                        const std::string& value);

}  // namespace kvqt::platform
