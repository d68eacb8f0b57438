// The setup page's "Search...": a depth-first walk over every directory below
// a root, done a bounded slice at a time so a timer can drive it without
// freezing the window. A hit pauses the walk; the next slice goes on after it.
#pragma once

#include <string>
#include <vector>

namespace kvqt {

class WizardSearch {
 public:
  enum class Target {
    FormatDirectories,  // directories with the format's marker file that pass the format check
    OrvistaProgram,     // folders that hold the Orvista 2000 program
  };
  enum class State { Scanning, Found, Finished };
  struct Slice {
    State state = State::Scanning;
    // Scanning: the directory the walk is at; Found: the hit.
    std::string directory;
  };

  // `root` ends in a separator.
  WizardSearch(std::string root, int formatId, Target target);

  // Visits at most `maxDirectories` directories; stops early at a hit.
  Slice run(int maxDirectories);

  const std::string& root() const { return root_; }
  int formatId() const { return formatId_; }
  Target target() const { return target_; }
  bool finished() const { return started_ && pending_.empty(); }

 private:
  bool qualifies(const std::string& directory) const;

  std::string root_;
  int formatId_;
  Target target_;
  bool started_ = false;
  std::vector<std::string> pending_;  // the walk's stack, next directory last
};

// Whether the format's directories can be searched for.
bool WizardHasSearch(int formatId);

// The places a search can start from: drive c:, the home directory and the
// volumes mounted under /media and /mnt, each ending in a separator.
std::vector<std::string> WizardSearchDrives();

}  // namespace kvqt
