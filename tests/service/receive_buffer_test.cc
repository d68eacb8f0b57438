#include "service/receive_buffer.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace kvqt {
namespace {

TEST(ReceiveBufferTest, ConsumingMovesTheRestToTheFront) {
  ReceiveBuffer buffer;
  std::memcpy(buffer.freeSpace(), "abcdef", 6);
  buffer.added(6);
  buffer.consume(2);
  EXPECT_EQ(std::string(buffer.view()), "cdef");
  EXPECT_EQ(buffer.freeSize(), ReceiveBuffer::kCapacity - 4);
  buffer.consume(10);
  EXPECT_EQ(buffer.count(), 0u);
}

TEST(ReceiveBufferTest, NeverCountsMoreThanItHolds) {
  ReceiveBuffer buffer;
  buffer.added(ReceiveBuffer::kCapacity - 1);
  buffer.added(5);
  EXPECT_EQ(buffer.count(), 31744u);
  EXPECT_TRUE(buffer.full());
  EXPECT_EQ(buffer.freeSize(), 0u);
}

}  // namespace
}  // namespace kvqt
