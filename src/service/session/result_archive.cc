#include "service/session/result_archive.h"

#include <zip.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <filesystem>
#include <system_error>
#include <string>
#include <vector>

#include "app/core/logs.h"
#include "platform/path.h"
#include "service/session/transfer_names.h"

namespace kvqt {
namespace {

// The bound on what the members taken from `archive` may unpack to.
zip_uint64_t UnpackLimit(const std::string& archive, const std::string& directory) {
  std::error_code error;
  const std::uintmax_t packed = std::filesystem::file_size(archive, error);
  zip_uint64_t limit = error ? kUnpackFloor : std::max<zip_uint64_t>(kUnpackFloor, packed * kUnpackRatio);
  limit = std::min<zip_uint64_t>(limit, kUnpackCeiling);
  const std::filesystem::space_info space = std::filesystem::space(directory.empty() ? "." : directory, error);
  if (!error) {
    const zip_uint64_t usable = space.available > kUnpackDiskMargin ? space.available - kUnpackDiskMargin : 0;
    limit = std::min<zip_uint64_t>(limit, usable);
  }
  return limit;
}

// The spelling in `wanted` of a member's name, or null when it is not wanted.
const std::string* Wanted(const std::string& name, const std::vector<std::string>& wanted) {
  for (const std::string& w : wanted) {
    if (IsSessionFileName(name, w)) return &w;
  }
  return nullptr;
}

struct Member {
  zip_uint64_t index = 0;
  zip_uint64_t size = 0;  // as the archive declares it
  std::string name;
  std::string temporary;
};

class Archive {
 public:
  explicit Archive(zip_t* zip) : zip_(zip) {}
  ~Archive() {
    if (zip_ != nullptr) zip_discard(zip_);
  }
  Archive(const Archive&) = delete;
  Archive& operator=(const Archive&) = delete;
  zip_t* get() const { return zip_; }

 private:
  zip_t* zip_;
};

// A directory of our own beside the extracted files, holding the members
// until all of them are intact; removed with whatever is left in it.
class StagingDirectory {
 public:
  // A new directory in `directory` whose name is none of `taken`.
  bool Create(const std::string& directory, const std::vector<Member>& taken) {
    for (int attempt = 0; attempt < 100; ++attempt) {
      std::string name = ".kvqt-extract-" + std::to_string(attempt);
      bool clash = false;
      for (const Member& member : taken) clash = clash || member.name == name;
      if (clash) continue;
      std::error_code error;
      if (std::filesystem::create_directory(directory + name, error)) {
        path_ = directory + name + "/";
        return true;
      }
    }
    return false;
  }
  ~StagingDirectory() {
    if (path_.empty()) return;
    std::error_code error;
    std::filesystem::remove_all(path_, error);
  }
  StagingDirectory() = default;
  StagingDirectory(const StagingDirectory&) = delete;
  StagingDirectory& operator=(const StagingDirectory&) = delete;

  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

int Inspect(zip_t* zip, zip_uint64_t index, Member* member) {
  zip_stat_t stat;
  zip_stat_init(&stat);
  if (zip_stat_index(zip, index, 0, &stat) != 0 || (stat.valid & ZIP_STAT_NAME) == 0) return kExtractDamaged;
  member->index = index;
  member->name = stat.name;
  if ((stat.valid & ZIP_STAT_SIZE) == 0) return kExtractDamaged;
  member->size = stat.size;
  if (!IsPlainFileName(member->name)) return kExtractBadMember;
  if ((stat.valid & ZIP_STAT_ENCRYPTION_METHOD) != 0 && stat.encryption_method != ZIP_EM_NONE) {
    return kExtractEncrypted;
  }
  if ((stat.valid & ZIP_STAT_COMP_METHOD) != 0 && zip_compression_method_supported(stat.comp_method, 0) == 0) {
    return kExtractUnsupported;
  }
  return kExtractOk;
}

// Reads one member into its temporary file; libzip checks the member's
// checksum when its end has been read.
int Unpack(zip_t* zip, const Member& member) {
  zip_file_t* in = zip_fopen_index(zip, member.index, 0);
  if (in == nullptr) return kExtractDamaged;
  std::FILE* out = std::fopen(member.temporary.c_str(), "wb");
  if (out == nullptr) {
    zip_fclose(in);
    return kExtractWriteFailed;
  }
  std::array<char, 16384> buffer;
  int result = kExtractOk;
  zip_uint64_t written = 0;
  for (;;) {
    const zip_int64_t n = zip_fread(in, buffer.data(), buffer.size());
    if (n < 0) {
      result = kExtractDamaged;
      break;
    }
    if (n == 0) break;
    // A member that unpacks to more than it declared is not what it claims.
    written += static_cast<zip_uint64_t>(n);
    if (written > member.size) {
      result = kExtractDamaged;
      break;
    }
    if (std::fwrite(buffer.data(), 1, static_cast<std::size_t>(n), out) != static_cast<std::size_t>(n)) {
      result = kExtractWriteFailed;
      break;
    }
  }
  if (std::fclose(out) != 0 && result == kExtractOk) result = kExtractWriteFailed;
  if (zip_fclose(in) != 0 && result == kExtractOk) result = kExtractDamaged;
  return result;
}

}  // namespace

const std::vector<std::string>& SessionMembers() {
  static const std::vector<std::string> members{"sksdat.dat", "motd.txt", "sintab.fd", "_kvqt.exe"};
  return members;
}

int ExtractArchive(const std::string& archive, const std::string& directory,
                   const std::vector<std::string>& wanted) {
  if (!platform::FileExists(archive)) return kExtractNotFound;
  int error = 0;
  Archive zip(zip_open(archive.c_str(), ZIP_RDONLY | ZIP_CHECKCONS, &error));
  if (zip.get() == nullptr) return error == ZIP_ER_NOENT ? kExtractNotFound : kExtractDamaged;

  const zip_int64_t count = zip_get_num_entries(zip.get(), 0);
  if (count < 0) return kExtractDamaged;

  // Every name is checked before anything is written.
  const zip_uint64_t limit = UnpackLimit(archive, directory);
  std::vector<Member> members;
  zip_uint64_t unpacked = 0;
  for (zip_uint64_t i = 0; i < static_cast<zip_uint64_t>(count); ++i) {
    Member member;
    int result = Inspect(zip.get(), i, &member);
    if (result != kExtractOk) return result;
    const std::string* name = Wanted(member.name, wanted);
    bool taken = false;
    for (const Member& m : members) taken = taken || (name != nullptr && m.name == *name);
    if (name == nullptr || taken) {
      debugFormat("Member of %.80s skipped: %.80s", archive.c_str(), member.name.c_str());
      continue;
    }
    member.name = *name;
    if (member.size > limit - unpacked) return kExtractTooLarge;
    unpacked += member.size;
    members.push_back(std::move(member));
  }

  StagingDirectory staging;
  if (!staging.Create(directory, members)) return kExtractWriteFailed;
  for (std::size_t i = 0; i < members.size(); ++i) {
    members[i].temporary = staging.path() + std::to_string(i);
    int result = Unpack(zip.get(), members[i]);
    if (result != kExtractOk) return result;
  }
  for (const Member& member : members) {
    if (std::rename(member.temporary.c_str(), (directory + member.name).c_str()) != 0) return kExtractWriteFailed;
  }
  return kExtractOk;
}

}  // namespace kvqt
