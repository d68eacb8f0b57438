// Finds existing files in a chart directory regardless of case, as they would
// be found on the case-insensitive systems these databases come from. A
// directory's listing is read once and kept while the directory's modification
// time is unchanged, so looking up thousands of data files does not list it
// thousands of times. Exact, upper-case and lower-case spellings are tried
// first and never depend on a kept listing; only a file in mixed case that
// another program creates within the same clock tick as our listing can stay
// unseen until the directory changes again.
#pragma once

#include <initializer_list>
#include <string>
#include <vector>

namespace kvqt {

// The path of the existing file `name` in `directory` (ending in a separator),
// matched regardless of case with the exact spelling preferred; empty when
// there is none.
std::string FindExistingFile(const std::string& directory, const std::string& name);
// The same for several names at once.
std::vector<std::string> FindExistingFiles(const std::string& directory, std::initializer_list<const char*> names);
// The existing file's path, or directory + name (the spelling for a new file).
std::string LocateFile(const std::string& directory, const std::string& name);
// The same for a full path.
std::string LocatePath(const std::string& path);

// Brackets a change this program makes to a directory, so that a kept
// listing that was current before the change stays current after it instead
// of being read again.
class DirectoryChange {
 public:
  explicit DirectoryChange(const std::string& directory);
  // After the file `name` was created (or replaced by a rename).
  void created(const std::string& name);
  // After the file `name` was removed (or renamed away).
  void removed(const std::string& name);
  // After a subdirectory was made or removed, which the listing of files
  // does not show.
  void subdirectoryChanged();

 private:
  std::string directory_;
  bool current_ = false;
};

// Marks `directory` as one that only this program changes (a working
// directory of its own): its listing is read now and from then on kept up to
// date by the DirectoryChanges reported, without asking the disk again.
void OwnDirectory(const std::string& directory);
// Forgets the kept listing of one directory, owned or not.
void ForgetDirectoryListing(const std::string& directory);
// Forgets the kept listings.
void ForgetDirectoryListings();

}  // namespace kvqt
