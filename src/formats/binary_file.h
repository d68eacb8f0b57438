// A binary file handle with its own read and write buffer. Chart data files are
// written one small record at a time; the buffer turns that into large writes.
// Positioned reads and writes (readAt, writeAt) go straight to the file after
// the pending bytes are written.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace kvqt {

class BinaryFile {
 public:
  BinaryFile() = default;
  ~BinaryFile();
  BinaryFile(BinaryFile&& other) noexcept;
  BinaryFile& operator=(BinaryFile&& other) noexcept;
  BinaryFile(const BinaryFile&) = delete;
  BinaryFile& operator=(const BinaryFile&) = delete;

  // 0, or -errno. An open handle is closed first.
  int openExisting(const std::string& path, bool writable);
  // Read-write; created when missing, emptied when `truncate`.
  int openOrCreate(const std::string& path, bool truncate, unsigned mode = 0644);
  // Writes what is pending and closes; false when that failed.
  bool close();

  bool isOpen() const { return fd_ >= 0; }
  bool writable() const { return writable_; }
  const std::string& path() const { return path_; }

  // The size including bytes not yet written; -1 on failure.
  std::int64_t size();
  // The size the file had when openExisting opened it.
  std::int64_t sizeAtOpen() const { return size_at_open_; }
  std::int64_t tell() const { return pos_; }
  void seek(std::int64_t pos);

  // Bytes read at the position (fewer at the end of the file), -1 on failure.
  std::int64_t read(void* buffer, std::size_t n);
  // Buffered, so a failure may show at a later write, flush or close: false
  // when bytes could not be written; failedAt() then tells how far they got.
  bool write(const void* buffer, std::size_t n);
  bool flush();

  // Unbuffered, at an offset; the position is not changed.
  std::int64_t readAt(std::int64_t offset, void* buffer, std::size_t n);
  bool writeAt(std::int64_t offset, const void* buffer, std::size_t n);
  bool truncate(std::int64_t size);
  bool sync();

  // Drops bytes read ahead, so the next read sees what other handles wrote.
  void forgetReadAhead() { dropReadBuffer(); }

  // After a failed write: the end of the bytes that did reach the file.
  std::int64_t failedAt() const { return failed_at_; }

 private:
  static constexpr std::size_t kBufferSize = 64 * 1024;
  static constexpr std::size_t kFirstReadAhead = 4 * 1024;

  void reset();
  void dropReadBuffer() { read_len_ = 0; }

  int fd_ = -1;
  bool writable_ = false;
  std::string path_;
  std::int64_t pos_ = 0;
  // Pending writes: write_len_ bytes starting at write_start_. The buffers
  // are made at their first use and never cleared: only bytes put there are read.
  std::unique_ptr<unsigned char[]> write_buffer_;
  std::size_t write_len_ = 0;
  std::int64_t write_start_ = 0;
  // Bytes read ahead, starting at read_start_.
  std::unique_ptr<unsigned char[]> read_buffer_;
  std::int64_t read_start_ = 0;
  std::size_t read_len_ = 0;
  std::size_t read_ahead_ = kFirstReadAhead;
  std::int64_t failed_at_ = -1;
  std::int64_t size_at_open_ = 0;
};

}  // namespace kvqt
