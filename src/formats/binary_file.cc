#include "formats/binary_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <memory>
#include <utility>

namespace kvqt {
namespace {

// Writes all bytes at offset; returns how many reached the file.
std::size_t WriteFully(int fd, std::int64_t offset, const unsigned char* data, std::size_t n) {
  std::size_t done = 0;
  while (done < n) {
    ssize_t w = ::pwrite(fd, data + done, n - done, static_cast<off_t>(offset + static_cast<std::int64_t>(done)));
    if (w < 0 && errno == EINTR) continue;
    if (w <= 0) break;
    done += static_cast<std::size_t>(w);
  }
  return done;
}

std::int64_t ReadFully(int fd, std::int64_t offset, unsigned char* data, std::size_t n) {
  std::size_t done = 0;
  while (done < n) {
    ssize_t r = ::pread(fd, data + done, n - done, static_cast<off_t>(offset + static_cast<std::int64_t>(done)));
    if (r < 0 && errno == EINTR) continue;
    if (r < 0) return -1;
    if (r == 0) break;
    done += static_cast<std::size_t>(r);
  }
  return static_cast<std::int64_t>(done);
}

}  // namespace

BinaryFile::~BinaryFile() { close(); }

BinaryFile::BinaryFile(BinaryFile&& other) noexcept { *this = std::move(other); }

BinaryFile& BinaryFile::operator=(BinaryFile&& other) noexcept {
  if (this != &other) {
    close();
    fd_ = std::exchange(other.fd_, -1);
    writable_ = other.writable_;
    path_ = std::move(other.path_);
    pos_ = other.pos_;
    write_buffer_ = std::move(other.write_buffer_);
    write_len_ = other.write_len_;
    write_start_ = other.write_start_;
    read_buffer_ = std::move(other.read_buffer_);
    read_start_ = other.read_start_;
    read_len_ = other.read_len_;
    failed_at_ = other.failed_at_;
    size_at_open_ = other.size_at_open_;
    other.reset();
  }
  return *this;
}

void BinaryFile::reset() {
  fd_ = -1;
  writable_ = false;
  path_.clear();
  pos_ = 0;
  write_len_ = 0;
  write_start_ = 0;
  read_len_ = 0;
  read_start_ = 0;
  failed_at_ = -1;
  size_at_open_ = 0;
}

int BinaryFile::openExisting(const std::string& path, bool writable) {
  close();
  int fd = ::open(path.c_str(), (writable ? O_RDWR : O_RDONLY) | O_CLOEXEC);
  if (fd < 0) return -errno;
  struct stat st;
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd);
    return -EISDIR;
  }
  fd_ = fd;
  writable_ = writable;
  path_ = path;
  size_at_open_ = st.st_size;
  return 0;
}

int BinaryFile::openOrCreate(const std::string& path, bool truncate, unsigned mode) {
  close();
  int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | (truncate ? O_TRUNC : 0), static_cast<mode_t>(mode));
  if (fd < 0) return -errno;
  fd_ = fd;
  writable_ = true;
  path_ = path;
  return 0;
}

bool BinaryFile::close() {
  if (fd_ < 0) return true;
  bool ok = flush();
  ok = ::close(fd_) == 0 && ok;
  reset();
  return ok;
}

std::int64_t BinaryFile::size() {
  if (fd_ < 0) return -1;
  struct stat st;
  if (::fstat(fd_, &st) != 0) return -1;
  std::int64_t size = st.st_size;
  if (write_len_ > 0) size = std::max(size, write_start_ + static_cast<std::int64_t>(write_len_));
  return size;
}

void BinaryFile::seek(std::int64_t pos) { pos_ = pos < 0 ? 0 : pos; }

bool BinaryFile::flush() {
  if (write_len_ == 0) return true;
  std::size_t done = WriteFully(fd_, write_start_, write_buffer_.get(), write_len_);
  bool ok = done == write_len_;
  if (!ok) {
    failed_at_ = write_start_ + static_cast<std::int64_t>(done);
  }
  write_len_ = 0;
  return ok;
}

std::int64_t BinaryFile::read(void* buffer, std::size_t n) {
  if (fd_ < 0) return -1;
  if (!flush()) return -1;
  auto* out = static_cast<unsigned char*>(buffer);
  std::size_t done = 0;
  while (done < n) {
    if (read_len_ > 0 && pos_ >= read_start_ && pos_ < read_start_ + static_cast<std::int64_t>(read_len_)) {
      std::size_t at = static_cast<std::size_t>(pos_ - read_start_);
      std::size_t take = std::min(n - done, read_len_ - at);
      std::memcpy(out + done, read_buffer_.get() + at, take);
      done += take;
      pos_ += static_cast<std::int64_t>(take);
      continue;
    }
    if (n - done >= kBufferSize) {
      std::int64_t r = ReadFully(fd_, pos_, out + done, n - done);
      if (r < 0) return -1;
      done += static_cast<std::size_t>(r);
      pos_ += r;
      break;
    }
    if (!read_buffer_) read_buffer_ = std::make_unique_for_overwrite<unsigned char[]>(kBufferSize);
    // Little at first, more while the reads go on where the last ended: a
    // lookup of one record reads a little, a walk through a file reads much.
    const bool onward = read_len_ > 0 && pos_ == read_start_ + static_cast<std::int64_t>(read_len_);
    read_ahead_ = onward ? std::min(read_ahead_ * 4, kBufferSize) : kFirstReadAhead;
    std::int64_t r = ReadFully(fd_, pos_, read_buffer_.get(), std::max(read_ahead_, n - done));
    if (r < 0) {
      read_len_ = 0;
      return -1;
    }
    read_start_ = pos_;
    read_len_ = static_cast<std::size_t>(r);
    if (r == 0) break;
  }
  return static_cast<std::int64_t>(done);
}

bool BinaryFile::write(const void* buffer, std::size_t n) {
  if (fd_ < 0 || !writable_) return false;
  dropReadBuffer();
  if (write_len_ > 0 && write_start_ + static_cast<std::int64_t>(write_len_) != pos_) {
    if (!flush()) return false;
  }
  if (write_len_ == 0) write_start_ = pos_;
  if (!write_buffer_) write_buffer_ = std::make_unique_for_overwrite<unsigned char[]>(kBufferSize);
  const auto* in = static_cast<const unsigned char*>(buffer);
  pos_ += static_cast<std::int64_t>(n);
  while (n > 0) {
    std::size_t take = std::min(n, kBufferSize - write_len_);
    std::memcpy(write_buffer_.get() + write_len_, in, take);
    write_len_ += take;
    in += take;
    n -= take;
    if (write_len_ == kBufferSize) {
      if (!flush()) return false;
      write_start_ += static_cast<std::int64_t>(kBufferSize);
    }
  }
  return true;
}

std::int64_t BinaryFile::readAt(std::int64_t offset, void* buffer, std::size_t n) {
  if (fd_ < 0 || offset < 0) return -1;
  if (!flush()) return -1;
  return ReadFully(fd_, offset, static_cast<unsigned char*>(buffer), n);
}

bool BinaryFile::writeAt(std::int64_t offset, const void* buffer, std::size_t n) {
  if (fd_ < 0 || !writable_ || offset < 0) return false;
  if (!flush()) return false;
  dropReadBuffer();
  return WriteFully(fd_, offset, static_cast<const unsigned char*>(buffer), n) == n;
}

bool BinaryFile::truncate(std::int64_t size) {
  if (fd_ < 0 || !writable_ || size < 0) return false;
  if (!flush()) return false;
  dropReadBuffer();
  return ::ftruncate(fd_, static_cast<off_t>(size)) == 0;
}

bool BinaryFile::sync() {
  if (fd_ < 0) return false;
  return flush() && ::fsync(fd_) == 0;
}

}  // namespace kvqt
