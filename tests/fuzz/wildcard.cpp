// Wildcard patterns against file names: the pattern is the input up to its
// first line break, the name everything after it.
#include "platform/wildcard.h"

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz_support.h"
#include "platform/unicode.h"

namespace {

std::u32string Folded(std::string_view text) {
  std::u32string out;
  for (std::size_t pos = 0; pos < text.size();)
    out += platform::ToUpper(platform::NextCodePoint(text, pos));
  return out;
}

// The textbook table: matches[i][j] tells whether the first i pattern
// characters match the first j name characters.
bool TableMatch(const std::u32string& pattern, const std::u32string& name) {
  const std::size_t width = name.size() + 1;
  std::vector<char> matches((pattern.size() + 1) * width, 0);
  matches[0] = 1;
  for (std::size_t i = 1; i <= pattern.size(); ++i) {
    const char32_t p = pattern[i - 1];
    for (std::size_t j = 0; j <= name.size(); ++j) {
      bool match = false;
      if (p == U'*') {
        match = matches[(i - 1) * width + j] || (j > 0 && matches[i * width + j - 1]);
      } else if (j > 0 && (p == U'?' || p == name[j - 1])) {
        match = matches[(i - 1) * width + j - 1];
      }
      matches[i * width + j] = match;
    }
  }
  return matches[pattern.size() * width + name.size()];
}

// A Windows search: a pattern ending in ".*" also matches names without a dot.
bool ReferenceMatch(std::string_view pattern, std::string_view name) {
  const std::u32string p = Folded(pattern);
  const std::u32string n = Folded(name);
  if (TableMatch(p, n)) return true;
  return p.size() >= 2 && p.compare(p.size() - 2, 2, U".*") == 0 &&
         n.find(U'.') == std::u32string::npos && TableMatch(p.substr(0, p.size() - 2), n);
}

constexpr std::size_t kMaxTableCells = std::size_t{1} << 20;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const std::size_t split = input.find('\n');
  const std::string_view pattern = input.substr(0, split);
  const std::string_view name =
      split == std::string_view::npos ? std::string_view() : input.substr(split + 1);
  const std::string detail = std::string(pattern) + " against " + std::string(name);

  // The matcher is |pattern| * |name| at worst: a long pattern of stars on a
  // long name takes milliseconds, even under the sanitizers. A second plus a
  // microsecond a step only an exponential or much worse matcher exceeds.
  const auto start = std::chrono::steady_clock::now();
  const bool matches = platform::WildcardMatch(pattern, name);
  const auto elapsed = std::chrono::steady_clock::now() - start;
  const auto steps = static_cast<long long>((pattern.size() + 1) * (name.size() + 1));
  if (elapsed > std::chrono::seconds(1) + std::chrono::microseconds(steps)) {
    fuzz::Fail("matching takes no more than |pattern| * |name| steps", detail);
  }

  if (!platform::WildcardMatch("*", name)) fuzz::Fail("\"*\" matches every name", detail);
  if (platform::WildcardMatch(platform::ToUpper(pattern), platform::ToUpper(name)) != matches ||
      platform::WildcardMatch(platform::ToLower(pattern), platform::ToUpper(name)) != matches) {
    fuzz::Fail("case does not matter", detail);
  }
  if (pattern.find_first_of("*?") == std::string_view::npos &&
      matches != platform::EqualsIgnoreCase(pattern, name)) {
    fuzz::Fail("a pattern without wildcards matches the equal names only", detail);
  }
  if ((pattern.size() + 1) * (name.size() + 1) <= kMaxTableCells &&
      matches != ReferenceMatch(pattern, name)) {
    fuzz::Fail("the match agrees with the table of all prefixes", detail);
  }
  return 0;
}
