#include "app/core/personal_profile.h"

#include <cstdlib>
#include <cstring>
#include <memory>

#include "platform/ini_profile.h"
#include "platform/program_dir.h"

namespace kvqt {

PersonalProfile::PersonalProfile(std::string path) : path_(std::move(path)) {}

const char* PersonalProfile::getString(const std::string& key, const std::string& default_value) {
  getStringInto(key, default_value, result_, sizeof result_);
  return result_;
}

void PersonalProfile::getStringInto(const std::string& key, const std::string& default_value, char* buffer,
                                    std::size_t size) {
  if (size == 0) return;
  std::string value = platform::GetProfileString(path_, kSection, key, default_value, size);
  std::memcpy(buffer, value.c_str(), value.size() + 1);
}

int PersonalProfile::getInt(const std::string& key, int default_value) {
  return platform::GetProfileInt(path_, kSection, key, default_value);
}

long PersonalProfile::getLong(const std::string& key, long default_value) {
  std::string text = platform::GetProfileString(path_, kSection, key, std::to_string(default_value), kResultSize);
  return std::strtol(text.c_str(), nullptr, 10);
}

bool PersonalProfile::isYes(const std::string& key, const std::string& default_text) {
  return platform::GetProfileString(path_, kSection, key, default_text, kResultSize) == "yes";
}

bool PersonalProfile::putInt(const std::string& key, int value) { return putString(key, std::to_string(value)); }
bool PersonalProfile::putLong(const std::string& key, long value) { return putString(key, std::to_string(value)); }
bool PersonalProfile::putDate(const std::string& key, int yyyymmdd) { return putLong(key, yyyymmdd); }
bool PersonalProfile::putYesNo(const std::string& key, bool yes) { return putString(key, yes ? "yes" : "no"); }

bool PersonalProfile::putString(const std::string& key, const std::string& value) {
  return platform::WriteProfileString(path_, kSection, key, value);
}

namespace {
std::unique_ptr<PersonalProfile> g_profile;
}

PersonalProfile& profile() {
  if (!g_profile) g_profile = std::make_unique<PersonalProfile>(platform::SettingsFilePath());
  return *g_profile;
}

void setProfilePath(const std::string& path) { g_profile = std::make_unique<PersonalProfile>(path); }

}  // namespace kvqt
