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
    out += platform::FileNameUpper(platform::NextCodePoint(text, pos));
  return out;
}

// The DOS forms FindFirstFile gives a "*" before a ".", every "?", and a "."
// before a wildcard or at the end.
constexpr char32_t kDosStar = 0x110000, kDosQm = 0x110001, kDosDot = 0x110002;

// The textbook table: m[i][j] tells whether the tokens from i on match the
// name from character j on.
bool ReferenceMatch(std::string_view patternText, std::string_view nameText) {
  const std::u32string name = Folded(nameText);
  if (name.empty()) return patternText.find_first_not_of('*') == std::string_view::npos;
  const std::u32string p = Folded(patternText) == U"*.*" ? U"*" : Folded(patternText);
  std::u32string t = p;
  for (std::size_t i = 0; i < p.size(); ++i) {
    const bool last = i + 1 == p.size();
    if (p[i] == U'*' && !last && p[i + 1] == U'.') t[i] = kDosStar;
    if (p[i] == U'?') t[i] = kDosQm;
    if (p[i] == U'.' && (last || p[i + 1] == U'*' || p[i + 1] == U'?')) t[i] = kDosDot;
  }
  const std::size_t lastDot = name.rfind(U'.'), width = name.size() + 1;
  std::vector<char> m((t.size() + 1) * width, 0);
  m[t.size() * width + name.size()] = 1;
  for (std::size_t i = t.size(); i-- > 0;) {
    for (std::size_t j = name.size() + 1; j-- > 0;) {
      const bool end = j == name.size(), dot = !end && name[j] == U'.';
      const bool skip = m[(i + 1) * width + j], take = !end && m[(i + 1) * width + j + 1],
                 stay = !end && m[i * width + j + 1];
      if (t[i] == U'*') m[i * width + j] = skip || stay;
      else if (t[i] == kDosStar) m[i * width + j] = skip || (stay && j != lastDot);
      else if (t[i] == kDosQm) m[i * width + j] = end || dot ? skip : take;
      else if (t[i] == kDosDot) m[i * width + j] = end ? skip : dot && take;
      else m[i * width + j] = !end && name[j] == t[i] && take;
    }
  }
  return m[0] != 0;
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
  // A "." at the end may also meet the end of the name.
  if (pattern.find_first_of("*?") == std::string_view::npos &&
      (pattern.empty() || pattern.back() != '.') &&
      matches != (Folded(pattern) == Folded(name))) {
    fuzz::Fail("a pattern without wildcards matches the equal names only", detail);
  }
  if ((pattern.size() + 1) * (name.size() + 1) <= kMaxTableCells &&
      matches != ReferenceMatch(pattern, name)) {
    fuzz::Fail("the match agrees with the textbook table", detail);
  }
  return 0;
}
