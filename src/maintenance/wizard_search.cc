#include "maintenance/wizard_search.h"

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdlib>

#include "maintenance/wizard_directories.h"
#include "maintenance/wizard_formats.h"
#include "platform/drive_c.h"
#include "platform/path.h"

namespace kvqt {
namespace {

// The real subdirectories of a directory (no symbolic links, which could lead
// the walk in circles), sorted by name.
std::vector<std::string> Subdirectories(const std::string& directory) {
  std::vector<std::string> names;
  DIR* dir = ::opendir(directory.c_str());
  if (dir == nullptr) return names;
  while (dirent* entry = ::readdir(dir)) {
    const std::string name = entry->d_name;
    if (name == "." || name == "..") continue;
    struct stat st;
    if (::lstat((directory + name).c_str(), &st) == 0 && S_ISDIR(st.st_mode)) names.push_back(name);
  }
  ::closedir(dir);
  std::sort(names.begin(), names.end());
  return names;
}

void AddMountedVolumes(const std::string& parent, std::vector<std::string>& drives) {
  for (const std::string& name : Subdirectories(parent)) drives.push_back(parent + name + "/");
}

}  // namespace

WizardSearch::WizardSearch(std::string root, int formatId, Target target)
    : root_(platform::EnsureTrailingSeparator(std::move(root))), formatId_(formatId), target_(target) {}

bool WizardSearch::qualifies(const std::string& directory) const {
  if (target_ == Target::OrvistaProgram) return HoldsOrvistaProgram(directory);
  const std::string marker = WizardMarkerFile(formatId_);
  if (marker.empty() || !platform::FileExists(platform::FindFileNoCase(directory, marker))) return false;
  return PassesWizardFormatCheck(directory, formatId_);
}

WizardSearch::Slice WizardSearch::run(int maxDirectories) {
  if (!started_) {
    started_ = true;
    pending_.push_back(root_);
  }
  Slice slice;
  for (int visited = 0; visited < maxDirectories && !pending_.empty(); ++visited) {
    const std::string directory = pending_.back();
    pending_.pop_back();
    const std::vector<std::string> children = Subdirectories(directory);
    for (auto child = children.rbegin(); child != children.rend(); ++child)
      pending_.push_back(directory + *child + "/");
    slice.directory = directory;
    if (qualifies(directory)) {
      slice.state = State::Found;
      return slice;
    }
  }
  if (pending_.empty()) slice.state = State::Finished;
  return slice;
}

bool WizardHasSearch(int formatId) { return !WizardMarkerFile(formatId).empty(); }

std::vector<std::string> WizardSearchDrives() {
  std::vector<std::string> drives{platform::DriveCDirectory()};
  const char* home = std::getenv("HOME");
  if (home != nullptr && *home != '\0') {
    const std::string path = platform::EnsureTrailingSeparator(home);
    if (path != drives.front()) drives.push_back(path);
  }
  AddMountedVolumes("/media/", drives);
  AddMountedVolumes("/mnt/", drives);
  return drives;
}

}  // namespace kvqt
