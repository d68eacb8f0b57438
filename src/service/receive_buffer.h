// The session's receive buffer: bytes from the server are appended at the end
// and consumed from the front, the rest moving down.
#pragma once

#include <array>
#include <cstddef>
#include <string_view>

namespace kvqt {

class ReceiveBuffer {
 public:
  static constexpr std::size_t kCapacity = 31744;

  const char* data() const { return bytes_.data(); }
  std::size_t count() const { return count_; }
  bool full() const { return count_ >= kCapacity; }
  std::string_view view() const { return std::string_view(bytes_.data(), count_); }

  // The free part, for a receive to fill; added() then counts what arrived.
  char* freeSpace() { return bytes_.data() + count_; }
  std::size_t freeSize() const { return kCapacity - count_; }
  void added(std::size_t n);

  // Removes n bytes from the front (everything when n >= count).
  void consume(std::size_t n);
  void clear() { count_ = 0; }

 private:
  std::array<char, kCapacity> bytes_{};
  std::size_t count_ = 0;
};

}  // namespace kvqt
