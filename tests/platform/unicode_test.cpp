#include "platform/unicode.h"

#include <gtest/gtest.h>

namespace {

using platform::CharPos;
using platform::CompareIgnoreCase;
using platform::SubstrChars;
using platform::ToUpper;

TEST(Unicode, UpperCaseCoversDanishAndWindows1252Letters) {
  EXPECT_EQ("ÆØÅ ABC É Ÿ Š Œ Ž ß ÷ 1,", ToUpper("æøå abc é ÿ š œ ž ß ÷ 1,"));
  EXPECT_EQ("æøå abc é ÿ š œ ž ß × 1,", platform::ToLower("ÆØÅ ABC É Ÿ Š Œ Ž ß × 1,"));
}

// Each row: a name, and what Windows compares it as.
TEST(Unicode, FileNamesAreUpperCasedAsWindowsComparesThem) {
  const std::pair<const char*, const char*> cases[] = {
      {"abc xyz.{}~@[`", "ABC XYZ.{}~@[`"},  // ASCII: a to z only
      {"æøå é þ ÷ ÿ", "ÆØÅ É Þ ÷ Ÿ"},  // Ÿ is past Latin-1
      {"łódź Ł", "ŁÓDŹ Ł"},
      {"ω ж ǆ ā ă Ă", "Ω Ж Ǆ Ā Ă Ă"},  // ā ă: every other character
      {"ß µ ı ſ ς ǅ", "ß µ ı ſ ς ǅ"},  // none, or one another letter has
      {"ᾀ ᵹ ⓐ ａｚ", "ᾈ Ᵹ Ⓐ ＡＺ"},  // far from their upper case; the last range
      {"\xF0\x90\x90\xA8", "\xF0\x90\x90\xA8"},  // U+10428, two code units: as it is
  };
  for (const auto& [name, upper] : cases) {
    EXPECT_EQ(upper, platform::FileNameUpper(name)) << name;
  }
}

TEST(Unicode, CharacterPositionsCountCodePointsNotBytes) {
  EXPECT_EQ(3u, platform::CodePointCount("æøå"));
  EXPECT_EQ(3u, CharPos("æø,x", ","));
  EXPECT_EQ(0u, CharPos("æøx", ","));
  EXPECT_EQ("øå", SubstrChars("æøåx", 1, 2));
  EXPECT_EQ("x", SubstrChars("æøåx", 3));
  EXPECT_EQ("", SubstrChars("æ", 5, 2));
}

TEST(Unicode, MalformedBytesAreSteppedOverOneAtATime) {
  const std::string broken = "a\xC3" "b\xE2\x82" "\xFF\xED\xA0\x80";  // cut, invalid, surrogate
  std::size_t pos = 0;
  std::size_t count = 0;
  while (pos < broken.size()) {
    platform::NextCodePoint(broken, pos);
    ++count;
  }
  EXPECT_EQ(broken.size(), count);
  EXPECT_EQ(broken, ToUpper(broken).replace(0, 1, "a").replace(2, 1, "b"));
}

TEST(Unicode, SortOrderIgnoresCaseAndPutsDanishLettersAfterZ) {
  EXPECT_EQ(0, CompareIgnoreCase("abc", "ABC"));
  EXPECT_LT(CompareIgnoreCase("ab", "ABC"), 0);
  EXPECT_LT(CompareIgnoreCase("ABC", "abd"), 0);
  EXPECT_LT(CompareIgnoreCase("ZZZ", "ÆBC"), 0);
  EXPECT_LT(CompareIgnoreCase("æbc", "ØBC"), 0);
  EXPECT_LT(CompareIgnoreCase("ØBC", "åbc"), 0);
  EXPECT_TRUE(platform::EqualsIgnoreCase("æøå", "ÆØÅ"));
}

}  // namespace
