#include "setup/names.h"

#include <gtest/gtest.h>

#include <utility>

namespace {

// Only what could leave the folder a name is joined to is refused: a root,
// a drive or stream, and a part that Windows takes as "..".
TEST(Names, StaysInsideRefusesWhatLeavesTheFolder) {
  const std::pair<const char*, bool> cases[] = {
      {"sub\\x.exe", true}, {".\\x..y.exe", true}, {"", true},       {"..\\x.exe", false},
      {"\\x.exe", false},   {"/x.exe", false},     {"C:x.exe", false}, {"x.dll:stream", false},
      {"a\\. .\\b", false}, {"a/.../b", false},    {"a\\..", false},
  };
  for (const auto& [name, inside] : cases) EXPECT_EQ(inside, setup::StaysInside(name)) << name;
}

}  // namespace
