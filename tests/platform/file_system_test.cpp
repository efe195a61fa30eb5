#include "platform/file_system.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

namespace {

TEST(FindHeld, AsksOnceWhenNoneIsHeldAndHalvesOnlyWhereSomeAre) {
  const std::vector<std::string> paths = {"a", "b", "c", "d", "e"};
  const std::vector<std::string> cases[] = {{}, {"d"}, {"a", "e"}, paths};
  for (const auto& held : cases) {
    int asked = 0;
    const auto found = platform::FindHeld(paths, [&](const std::vector<std::string>& part) {
      ++asked;
      return std::optional<std::size_t>(std::count_if(part.begin(), part.end(), [&](const auto& p) {
        return std::find(held.begin(), held.end(), p) != held.end();
      }));
    });
    EXPECT_EQ(held, found);
    if (held.empty()) {
      EXPECT_EQ(1, asked);
    }
  }
  EXPECT_FALSE(platform::FindHeld(paths, [](const auto&) { return std::nullopt; }));
}

}  // namespace
