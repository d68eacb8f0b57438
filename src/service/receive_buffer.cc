#include "service/receive_buffer.h"

#include <cstring>

namespace kvqt {

void ReceiveBuffer::added(std::size_t n) { count_ = n >= freeSize() ? kCapacity : count_ + n; }

void ReceiveBuffer::consume(std::size_t n) {
  if (n >= count_) {
    count_ = 0;
    return;
  }
  std::memmove(bytes_.data(), bytes_.data() + n, count_ - n);
  count_ -= n;
}

}  // namespace kvqt
