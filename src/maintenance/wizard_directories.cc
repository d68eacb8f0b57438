#include "maintenance/wizard_directories.h"

#include <filesystem>
#include <memory>

#include "app/core/messages.h"
#include "app/model/format_ids.h"
#include "app/model/formats.h"
#include "app/core/personal_profile.h"
#include "formats/format_driver.h"
#include "maintenance/wizard_formats.h"
#include "maintenance/wizard_texts.h"
#include "platform/drive_c.h"
#include "platform/path.h"

namespace kvqt {
namespace {

// The longest directory path the data model keeps, with its separator.
constexpr std::size_t kMaxDirectoryPath = 767;

bool ExistsAtAll(const std::string& path) {
  std::string name = path;
  while (name.size() > 1 && name.back() == '/') name.pop_back();
  std::error_code ec;
  return std::filesystem::exists(std::filesystem::symlink_status(name, ec));
}

bool Refuse(int messageId, int language, const std::string& path) {
  errorMessage(WizardMessage(messageId, language, path), language);
  return false;
}

// The checks "Add..." makes of an existing or missing directory.
bool Acceptable(const std::string& path, int formatId, int language) {
  const bool orvista = formatId == kFormatIdOrvista;
  if (!platform::DirectoryExists(path)) {
    if (ExistsAtAll(path)) return Refuse(kErrorNotADirectory, language, path);
    if (orvista) return Refuse(kErrorDirectoryMissing, language, path);
    if (!question(WizardMessage(kQuestionCreateDirectory, language, path))) return false;
    if (!platform::MakeDirectories(path)) return Refuse(kErrorCannotCreateDirectory, language, path);
  }
  if (orvista) {
    const DetectResult found = DetectFormat(path, formatId);
    if (found.found == 23) return Refuse(kErrorLacksFormat, language, path);
    if (!found.fits) return Refuse(kErrorContainsDifferentFormat, language, path);
    return true;
  }
  if (!PassesWizardFormatCheck(path, formatId)) return Refuse(kErrorHoldsDifferentFormat, language, path);
  return true;
}

std::string ProgramFolderPath(std::string_view typed) {
  std::string path;
  if (!WizardDirectoryPath(typed, path)) return std::string();
  if (path.size() > 1) path.pop_back();  // stored without its separator, as the default is
  return path;
}

}  // namespace

bool PassesWizardFormatCheck(const std::string& directory, int formatId) {
  const DetectResult found = DetectFormat(directory, formatId);
  if (formatId == kFormatIdOrvista) return found.fits && found.found != 23;
  return found.found == 23 || found.fits;
}

std::string WizardProposedDirectory(int formatId, const std::string& programDirectory) {
  const std::string directory = WizardDefaultDirectory(formatId, programDirectory);
  if (directory.empty() || !PassesWizardFormatCheck(directory, formatId)) return std::string();
  return directory;
}

bool WizardDirectoryPath(std::string_view typed, std::string& path) {
  path.clear();
  std::string text(typed);
  while (!text.empty() && text.front() == ' ') text.erase(0, 1);
  while (!text.empty() && text.back() == ' ') text.pop_back();
  if (text.empty()) return false;
  for (unsigned char c : text)
    if (c < 0x20 || c == 0x7f) return false;
  std::string native;
  if (text.size() >= 2 && text[1] == ':') {
    if (text[0] != 'c' && text[0] != 'C') return false;  // no other drive here
    native = platform::FromWindowsPath(text);
  } else if (text.front() == '/') {
    native = text;
  } else {
    native = platform::FromWindowsPath("c:\\" + text);
  }
  native = std::filesystem::path(native).lexically_normal().string();
  native = platform::EnsureTrailingSeparator(native);
  if (native.size() > kMaxDirectoryPath) return false;
  path = native;
  return true;
}

AddResult AddWizardDirectory(std::vector<std::string>& chosen, std::string_view typed, int formatId, int language) {
  std::string trimmed(typed);
  if (trimmed.find_first_not_of(' ') == std::string::npos) return AddResult::Ignored;
  std::string path;
  if (!WizardDirectoryPath(typed, path)) {
    errorMessage(WizardMessage(kErrorInvalidDirectoryName, language, typed), language);
    return AddResult::Refused;
  }
  for (const std::string& listed : chosen)
    if (platform::EqualsNoCase(listed, path)) return AddResult::Ignored;
  if (!Acceptable(path, formatId, language)) return AddResult::Refused;
  chosen.push_back(path);
  return AddResult::Added;
}

bool HoldsOrvistaProgram(const std::string& folder) {
  if (folder.empty()) return false;
  const std::string directory = platform::EnsureTrailingSeparator(folder);
  for (const char* name : {"Orvista2000.exe", "orvist~1.exe"})
    if (platform::FileExists(platform::FindFileNoCase(directory, name))) return true;
  return false;
}

std::string WizardProposedProgramFolder() {
  for (const char* folder : {"c:\\Program Files\\Orvista2000", "c:\\Orvista2000"}) {
    const std::string path = platform::FromWindowsPath(folder);
    if (HoldsOrvistaProgram(path)) return path;
  }
  return std::string();
}

bool ApplyWizardSetupPage(Formats& formats, int formatId, const std::vector<std::string>& chosen,
                          std::string_view programFolder, int language) {
  if (formatId == kFormatIdOrvista) {
    const std::string folder = ProgramFolderPath(programFolder);
    if (!HoldsOrvistaProgram(folder)) {
      errorMessage(WizardMessage(kErrorOrvistaProgramMissing, language), language);
      return false;
    }
    profile().putString("orvista2kpath", folder);
  }
  Format* format = formats.findById(formatId);
  if (format == nullptr) return true;
  bool added = false;
  for (const std::string& path : chosen) {
    if (!PassesWizardFormatCheck(path, formatId)) continue;
    if (format->directoryByName(path) == nullptr) format->addDirectory(std::make_unique<Directory>(path, formatId));
    format->setCurrentDirectory(path);
    added = true;
  }
  if (added) formats.setCurrentIndex(formats.indexOf(format));
  return true;
}

}  // namespace kvqt
