#include "kvqt-config/set_verb.h"

#include "app/core/personal_profile.h"
#include "app/core/setting_keys.h"
#include "platform/ini_profile.h"
#include "platform/path.h"

namespace kvqt::config {
namespace {

bool HasLineBreak(const std::string& text) { return text.find_first_of("\r\n") != std::string::npos; }

// What would not survive the file's line form: a line break anywhere, a
// section name with "]", a key with "=" or one that reads as a section or a
// comment.
std::string SettingProblem(const std::string& section, const std::string& key, const std::string& value) {
  if (section.empty() || HasLineBreak(section) || section.find(']') != std::string::npos)
    return "a section name is not empty and holds no ] or line break";
  if (key.empty() || HasLineBreak(key) || key.find('=') != std::string::npos || key.front() == '[' ||
      key.front() == ';')
    return "a key is not empty, holds no = or line break and does not start with [ or ;";
  if (HasLineBreak(value)) return "a value holds no line break";
  return std::string();
}

}  // namespace

int RunSetVerb(VerbContext& context, const std::vector<std::string>& args) {
  const std::string& section = args[0];
  const std::string& key = args[1];
  const std::string& value = args[2];
  std::string problem = SettingProblem(section, key, value);
  if (!problem.empty()) {
    context.err << "kvqt-config: " << problem << "\n";
    return kExitError;
  }
  const bool programSection = platform::EqualsNoCase(section, PersonalProfile::kSection);
  if (programSection && !IsKnownSettingKey(key) && !context.force) {
    context.err << "kvqt-config: the program knows no key " << key << " in section " << PersonalProfile::kSection
                << "; its keys are:";
    for (std::string_view known : KnownSettingKeys()) context.err << " " << known;
    context.err << "\n(--force writes it all the same)\n";
    return kExitError;
  }
  PersonalProfile& settings = profile();
  const bool written = programSection ? settings.putString(key, value)
                           : platform::WriteProfileString(settings.path(), section, key, value);
  if (!written) {
    context.err << "kvqt-config: cannot write " << settings.path() << "\n";
    return kExitError;
  }
  context.out << "set [" << section << "] " << key << "=" << value << " in " << settings.path() << "\n";
  // Blanks around the value and quotes around it do not reach the program.
  std::string read = platform::ReadProfileValue(settings.path(), section, key).value_or(std::string());
  if (read != value) context.out << "the program reads it as \"" << read << "\"\n";
  return kExitOk;
}

}  // namespace kvqt::config
