#include "platform/scoped_handle.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// Handles are numbers, -1 owns nothing; each close is written down.
std::vector<int> closed;
struct CountedTraits {
  using Handle = int;
  static Handle Invalid() { return -1; }
  static void Close(Handle handle) { closed.push_back(handle); }
};
using Scoped = platform::ScopedHandle<CountedTraits>;

TEST(ScopedHandle, ClosesEachHandleOnceAndNeverTheEmptyOne) {
  closed.clear();
  {
    Scoped none;
    Scoped first(1);
    Scoped zero(0);  // a valid handle where the empty one is -1
    EXPECT_FALSE(none.Valid());
    EXPECT_TRUE(zero.Valid());
    first.Reset(2);  // closes 1, owns 2
    EXPECT_EQ(std::vector<int>{1}, closed);
    Scoped moved(std::move(first));
    EXPECT_FALSE(first.Valid());
    EXPECT_EQ(2, moved.Get());
    none = std::move(moved);  // owns 2; nothing closed
    Scoped released(3);
    EXPECT_EQ(3, released.Release());
    EXPECT_FALSE(released.Valid());
  }
  EXPECT_EQ((std::vector<int>{1, 0, 2}), closed);
}

}  // namespace
