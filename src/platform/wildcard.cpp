#include "platform/wildcard.h"

#include <string>

#include "platform/unicode.h"

namespace platform {

namespace {

std::u32string Folded(std::string_view text) {
  std::u32string out;
  out.reserve(text.size());
  for (std::size_t pos = 0; pos < text.size();) out += ToUpper(NextCodePoint(text, pos));
  return out;
}

// Greedy match with one backtrack point: the last "*" seen. Linear in
// practice and never worse than |pattern| * |name|.
bool Match(const std::u32string& pattern, const std::u32string& name) {
  std::size_t p = 0;
  std::size_t n = 0;
  std::size_t starP = std::u32string::npos;
  std::size_t starN = 0;
  while (n < name.size()) {
    // A "*" is a wildcard even where the name holds a "*" of its own.
    if (p < pattern.size() && pattern[p] == U'*') {
      starP = p++;
      starN = n;
    } else if (p < pattern.size() && (pattern[p] == U'?' || pattern[p] == name[n])) {
      ++p;
      ++n;
    } else if (starP != std::u32string::npos) {
      p = starP + 1;
      n = ++starN;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == U'*') ++p;
  return p == pattern.size();
}

}  // namespace

bool WildcardMatch(std::string_view pattern, std::string_view name) {
  const std::u32string folded = Folded(pattern);
  const std::u32string foldedName = Folded(name);
  if (Match(folded, foldedName)) return true;
  const std::size_t size = folded.size();
  if (size >= 2 && folded.compare(size - 2, 2, U".*") == 0 &&
      foldedName.find(U'.') == std::u32string::npos) {
    return Match(folded.substr(0, size - 2), foldedName);
  }
  return false;
}

}  // namespace platform
