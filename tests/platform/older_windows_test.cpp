// What the program does where Windows is older than the one it was built
// for: the functions it looks up at run time and what stands in for them.
#include <gtest/gtest.h>
#include <windows.h>

#include "platform/win32/dll_search.h"
#include "platform/win32/tick_count.h"

namespace {

TEST(TickCount, CountsOnPastTheWrapOfTheThirtyTwoBitCount) {
  const struct {
    std::uint64_t previous;
    std::uint32_t now;
    std::uint64_t next;
  } cases[] = {{0, 5, 5},
               {5, 5, 5},
               {0xFFFFFFF0, 0xFFFFFFF0, 0xFFFFFFF0},
               {0xFFFFFFF0, 0x10, 0x100000010},
               {0x100000010, 0x20, 0x100000020},
               {0x2FFFFFFFF, 0, 0x300000000}};
  for (const auto& c : cases) {
    EXPECT_EQ(c.next, platform::ExtendTickCount(c.previous, c.now)) << c.previous << " " << c.now;
  }
  // The running system's count, and the one that stands in where the system
  // has no GetTickCount64 (Windows XP): each in step with GetTickCount's.
  EXPECT_EQ(&platform::TickCount64, platform::TickCountSource(&platform::TickCount64));
  const platform::TickCountFunction fallback = platform::TickCountSource(nullptr);
  ASSERT_NE(nullptr, fallback);
  for (const std::uint64_t count : {platform::TickCount64(), fallback(), fallback()}) {
    EXPECT_LE(GetTickCount() - static_cast<std::uint32_t>(count), 50u);
  }
}

TEST(DllSearch, TheSystemFolderAloneIsAskedForWhereTheSystemHasItExceptOnVista) {
  const struct {
    bool available;
    unsigned major, minor;
    bool used;
  } cases[] = {{false, 5, 1, false}, {false, 6, 1, false}, {true, 6, 0, false},
               {true, 6, 1, true},   {true, 6, 2, true},   {true, 10, 0, true}};
  for (const auto& c : cases) {
    EXPECT_EQ(c.used, platform::UseDefaultDllDirectories(c.available, c.major, c.minor))
        << c.available << " " << c.major << "." << c.minor;
  }
}

}  // namespace
