#include "formats/file_locator.h"

#include <dirent.h>
#include <sys/stat.h>

#include <string_view>
#include <unordered_map>
#include <vector>

namespace kvqt {
namespace {

constexpr std::size_t kMaxListings = 32;

struct Name {
  std::string spelling;
  bool regular;  // known to be a regular file; otherwise asked when used
};

struct Listing {
  dev_t dev = 0;
  ino_t ino = 0;
  struct timespec mtime = {};
  // A directory only this program changes: its listing is kept up to date by
  // the changes the program reports and never checked against the disk.
  bool owned = false;
  // Every spelling of each name, keyed by its lower-case form.
  std::unordered_map<std::string, std::vector<Name>> byLowerName;
};

std::unordered_map<std::string, Listing>& Listings() {
  static std::unordered_map<std::string, Listing> listings;
  return listings;
}

std::string Lower(std::string_view text) {
  std::string out(text);
  for (char& c : out)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return out;
}

std::string Upper(std::string_view text) {
  std::string out(text);
  for (char& c : out)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return out;
}

bool IsRegularFile(const std::string& path) {
  struct stat st;
  return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool SameTime(const struct timespec& a, const struct timespec& b) {
  return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec;
}

bool StatDirectory(const std::string& directory, struct stat& st) {
  return ::stat(directory.empty() ? "." : directory.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// The kept listing when it is current: an owned one always, another while
// the directory is unchanged since it was read.
Listing* KeptListing(const std::string& directory) {
  auto& listings = Listings();
  auto it = listings.find(directory);
  if (it == listings.end()) return nullptr;
  if (it->second.owned) return &it->second;
  struct stat st;
  if (StatDirectory(directory, st) && it->second.dev == st.st_dev && it->second.ino == st.st_ino &&
      SameTime(it->second.mtime, st.st_mtim))
    return &it->second;
  return nullptr;
}

Listing* CurrentListing(const std::string& directory) {
  if (Listing* kept = KeptListing(directory)) return kept;
  struct stat st;
  if (!StatDirectory(directory, st)) return nullptr;
  DIR* dir = ::opendir(directory.empty() ? "." : directory.c_str());
  if (!dir) return nullptr;
  Listing listing;
  listing.dev = st.st_dev;
  listing.ino = st.st_ino;
  listing.mtime = st.st_mtim;
  while (struct dirent* entry = ::readdir(dir)) {
    if (entry->d_type == DT_DIR) continue;
    listing.byLowerName[Lower(entry->d_name)].push_back(Name{entry->d_name, entry->d_type == DT_REG});
  }
  ::closedir(dir);
  auto& listings = Listings();
  if (listings.size() >= kMaxListings) listings.clear();
  return &(listings[directory] = std::move(listing));
}

// After a change the program made to a directory whose listing was current:
// the listing stays current. False when there is no such listing.
bool StillCurrent(Listing& listing, const std::string& directory) {
  if (listing.owned) return true;
  struct stat st;
  if (!StatDirectory(directory, st)) return false;
  listing.mtime = st.st_mtim;
  return true;
}

// The file from a listing: the exact spelling when it is there, else the first.
std::string FromListing(const Listing& listing, const std::string& directory, const std::string& name) {
  auto it = listing.byLowerName.find(Lower(name));
  if (it == listing.byLowerName.end()) return std::string();
  const Name* chosen = &it->second.front();
  for (const Name& n : it->second)
    if (n.spelling == name) chosen = &n;
  std::string path = directory + chosen->spelling;
  return chosen->regular || IsRegularFile(path) ? path : std::string();
}

std::string FindUnlisted(const std::string& directory, const std::string& name) {
  std::string exact = directory + name;
  if (IsRegularFile(exact)) return exact;
  // The spellings other systems use most, before listing the directory.
  for (const std::string& variant : {Upper(name), Lower(name)}) {
    if (variant != name && IsRegularFile(directory + variant)) return directory + variant;
  }
  const Listing* listing = CurrentListing(directory);
  return listing ? FromListing(*listing, directory, name) : std::string();
}

}  // namespace

std::string FindExistingFile(const std::string& directory, const std::string& name) {
  if (const Listing* kept = KeptListing(directory)) return FromListing(*kept, directory, name);
  return FindUnlisted(directory, name);
}

std::vector<std::string> FindExistingFiles(const std::string& directory, std::initializer_list<const char*> names) {
  std::vector<std::string> found;
  const Listing* kept = KeptListing(directory);
  for (const char* name : names)
    found.push_back(kept ? FromListing(*kept, directory, name) : FindUnlisted(directory, name));
  return found;
}

std::string LocateFile(const std::string& directory, const std::string& name) {
  std::string found = FindExistingFile(directory, name);
  return found.empty() ? directory + name : found;
}

std::string LocatePath(const std::string& path) {
  auto slash = path.rfind('/');
  if (slash == std::string::npos) return LocateFile(std::string(), path);
  return LocateFile(path.substr(0, slash + 1), path.substr(slash + 1));
}

DirectoryChange::DirectoryChange(const std::string& directory) : directory_(directory) {
  current_ = KeptListing(directory) != nullptr;
}

void DirectoryChange::created(const std::string& name) {
  auto it = Listings().find(directory_);
  if (!current_ || it == Listings().end()) return;
  if (!StillCurrent(it->second, directory_)) {
    Listings().erase(it);
    return;
  }
  auto& names = it->second.byLowerName[Lower(name)];
  bool known = false;
  for (const Name& n : names) known = known || n.spelling == name;
  if (!known) names.push_back(Name{name, true});
}

void DirectoryChange::removed(const std::string& name) {
  auto it = Listings().find(directory_);
  if (it == Listings().end()) return;
  if (!current_ || !StillCurrent(it->second, directory_)) {
    Listings().erase(it);
    return;
  }
  // Only this spelling went; others of the same name stay listed.
  auto& byLower = it->second.byLowerName;
  auto found = byLower.find(Lower(name));
  if (found != byLower.end()) {
    std::erase_if(found->second, [&](const Name& n) { return n.spelling == name; });
    if (found->second.empty()) byLower.erase(found);
  }
}

void DirectoryChange::subdirectoryChanged() {
  auto it = Listings().find(directory_);
  if (current_ && it != Listings().end() && !StillCurrent(it->second, directory_)) Listings().erase(it);
}

void OwnDirectory(const std::string& directory) {
  if (Listing* listing = CurrentListing(directory)) listing->owned = true;
}

void ForgetDirectoryListing(const std::string& directory) { Listings().erase(directory); }

void ForgetDirectoryListings() { Listings().clear(); }

}  // namespace kvqt
