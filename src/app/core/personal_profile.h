// Typed access to the user's settings: section "configure" of "kvqt.ini".
// Every read and write goes to the file at once; nothing is cached.
#pragma once

#include <string>

namespace kvqt {

class PersonalProfile {
 public:
  static constexpr const char* kFileName = "kvqt.ini";
  static constexpr const char* kSection = "configure";
  static constexpr std::size_t kResultSize = 199;

  // The settings file at the given path.
  explicit PersonalProfile(std::string path);

  const std::string& path() const { return path_; }

  // The value or the default, cut to 198 characters. The result lives in a
  // shared buffer that the next getString overwrites; callers copy what they keep.
  const char* getString(const std::string& key, const std::string& default_value);
  // The same into the caller's buffer of the given size.
  void getStringInto(const std::string& key, const std::string& default_value, char* buffer, std::size_t size);
  // Leading decimal digits ("1x" reads 1); the default when absent.
  int getInt(const std::string& key, int default_value);
  // Blanks skipped, an optional sign, then decimal digits ("-20" reads -20).
  long getLong(const std::string& key, long default_value);
  // True when the value (or the default) is exactly "yes".
  bool isYes(const std::string& key, const std::string& default_text);

  bool putInt(const std::string& key, int value);
  bool putLong(const std::string& key, long value);
  bool putDate(const std::string& key, int yyyymmdd);
  bool putYesNo(const std::string& key, bool yes);
  bool putString(const std::string& key, const std::string& value);

 private:
  std::string path_;
  char result_[kResultSize] = {};
};

// The program's one settings object, at the platform's settings path unless
// told otherwise (tests point it at a file of their own).
PersonalProfile& profile();
void setProfilePath(const std::string& path);

}  // namespace kvqt
