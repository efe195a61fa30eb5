#include "setup/names.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <utility>

namespace {

TEST(Names, UsablePartsAreWhatWindowsCanNameAFileOfItsOwn) {
  using Parts = std::initializer_list<std::string>;
  const std::string a255(255, 'a');
  for (const std::string& part : Parts{"KAMBRIX", " KAMBRIX datalogger.bib", "x..y", ".x", "ÆØÅ",
       "COM10", "LPT", "CONIN", "NULL.txt", "a.NUL", "COM\xC2\xB4", "\x7F", a255,
       a255.substr(1) + "é"}) {
    EXPECT_TRUE(setup::UsableNamePart(part)) << part;
  }
  for (const std::string& part : Parts{"", "a<b", "a>b", "a:b", "a\"b", "a/b", "a\\b", "a|b", "a?",
       "a*", "a\x01", "a\x1F", "KB_DOT.", "x ", "NUL", "nul", "Aux.cfg", "CON .txt", "PRN. ",
       "com1", "LPT9.x.y", "COM0", "COM\xC2\xB9", "lpt\xC2\xB2", "LPT\xC2\xB3.txt", "CONIN$",
       "conout$.x",
       a255 + "a", a255.substr(1) + "\xF0\x9F\x98\x80"}) {
    EXPECT_FALSE(setup::UsableNamePart(part)) << part;
  }
}

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
