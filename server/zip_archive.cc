#include "zip_archive.h"

#include <zip.h>

#include <cstdio>

namespace kvqt::server {
namespace {

std::string ErrorText(zip_error_t* error) {
  std::string text = zip_error_strerror(error);
  zip_error_fini(error);
  return text;
}

// The largest member ReadZip unpacks; the server's own archives stay far below.
constexpr zip_uint64_t kMaxMemberSize = 256u << 20;

}  // namespace

int BuildZip(const std::vector<ZipMember>& members, std::time_t mtime, std::string* out, std::string* error) {
  out->clear();
  zip_error_t zerror;
  zip_error_init(&zerror);
  zip_source_t* target = zip_source_buffer_create(nullptr, 0, 0, &zerror);
  if (target == nullptr) {
    *error = ErrorText(&zerror);
    return -1;
  }
  // Kept alive past zip_close, which would otherwise free it with the archive.
  zip_source_keep(target);
  zip_t* archive = zip_open_from_source(target, ZIP_TRUNCATE, &zerror);
  if (archive == nullptr) {
    *error = ErrorText(&zerror);
    zip_source_free(target);
    return -1;
  }
  for (const ZipMember& member : members) {
    zip_source_t* source = zip_source_buffer(archive, member.data.data(), member.data.size(), 0);
    zip_int64_t index = source == nullptr ? -1 : zip_file_add(archive, member.name.c_str(), source, ZIP_FL_ENC_UTF_8);
    if (index < 0) {
      if (source != nullptr) zip_source_free(source);
      *error = zip_strerror(archive);
      zip_discard(archive);
      zip_source_free(target);
      return -1;
    }
    zip_file_set_mtime(archive, static_cast<zip_uint64_t>(index), mtime, 0);
  }
  if (zip_close(archive) != 0) {
    *error = zip_strerror(archive);
    zip_discard(archive);
    zip_source_free(target);
    return -1;
  }
  int rc = -1;
  if (zip_source_open(target) == 0) {
    if (zip_source_seek(target, 0, SEEK_END) == 0) {
      zip_int64_t size = zip_source_tell(target);
      if (size >= 0 && zip_source_seek(target, 0, SEEK_SET) == 0) {
        out->resize(static_cast<std::size_t>(size));
        if (zip_source_read(target, out->data(), static_cast<zip_uint64_t>(size)) == size) rc = 0;
      }
    }
    zip_source_close(target);
  }
  zip_source_free(target);
  if (rc != 0) {
    out->clear();
    *error = "cannot read the archive back";
  }
  return rc;
}

int ReadZip(const std::string& bytes, std::vector<ZipMember>* members, std::string* error) {
  members->clear();
  // Smaller than an end record cannot be an archive; libzip would take it as an empty one.
  if (bytes.size() < 22) {
    *error = "too short for an archive";
    return -1;
  }
  zip_error_t zerror;
  zip_error_init(&zerror);
  zip_source_t* source = zip_source_buffer_create(bytes.data(), bytes.size(), 0, &zerror);
  if (source == nullptr) {
    *error = ErrorText(&zerror);
    return -1;
  }
  zip_t* archive = zip_open_from_source(source, ZIP_RDONLY | ZIP_CHECKCONS, &zerror);
  if (archive == nullptr) {
    *error = ErrorText(&zerror);
    zip_source_free(source);
    return -1;
  }
  int rc = 0;
  zip_int64_t count = zip_get_num_entries(archive, 0);
  for (zip_int64_t i = 0; i < count && rc == 0; ++i) {
    zip_stat_t stat;
    if (zip_stat_index(archive, static_cast<zip_uint64_t>(i), 0, &stat) != 0 || !(stat.valid & ZIP_STAT_SIZE) ||
        stat.size > kMaxMemberSize) {
      *error = "bad member";
      rc = -1;
      break;
    }
    zip_file_t* file = zip_fopen_index(archive, static_cast<zip_uint64_t>(i), 0);
    if (file == nullptr) {
      *error = zip_strerror(archive);
      rc = -1;
      break;
    }
    ZipMember member;
    member.name = stat.name != nullptr ? stat.name : "";
    member.data.resize(static_cast<std::size_t>(stat.size));
    zip_int64_t n = stat.size == 0 ? 0 : zip_fread(file, member.data.data(), stat.size);
    if (n < 0 || static_cast<zip_uint64_t>(n) != stat.size) {
      *error = "short member";
      rc = -1;
    }
    zip_fclose(file);
    if (rc == 0) members->push_back(std::move(member));
  }
  zip_discard(archive);  // frees the archive and its source; nothing to write
  return rc;
}

}  // namespace kvqt::server
