#include "platform/absolute_path.h"

#include <gtest/gtest.h>

namespace kvqt::platform {
namespace {

TEST(AbsolutePathTest, AbsoluteFromTakesRelativePathsFromTheBase) {
  const struct {
    const char* base;
    const char* path;
    const char* expected;
  } cases[] = {
      {"/start/", "rel.tsk", "/start/rel.tsk"},
      {"/start", "sub/../x.dat", "/start/x.dat"},
      {"/start/", "./data/", "/start/data/"},
      {"/start/", "..", "/"},
      {"/start/", "data/.", "/start/data"},
      {"/start/", "/abs/./f", "/abs/f"},
      {"/start/", "", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(AbsoluteFrom(c.base, c.path), c.expected) << c.base << " " << c.path;
}

}  // namespace
}  // namespace kvqt::platform
