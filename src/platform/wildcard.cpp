#include "platform/wildcard.h"

#include <algorithm>
#include <string>
#include <vector>

#include "platform/unicode.h"

namespace platform {

namespace {

// The wildcards, as values above every character; all but the plain star
// are DOS forms.
constexpr char32_t kStar = 0x110000;
constexpr char32_t kDosStar = 0x110001;  // "*" before "."
constexpr char32_t kDosQm = 0x110002;    // every "?"
constexpr char32_t kDosDot = 0x110003;   // "." before "?" or "*", or at the end

std::u32string Folded(std::string_view text) {
  std::u32string out;
  out.reserve(text.size());
  for (std::size_t pos = 0; pos < text.size();) out += FileNameUpper(NextCodePoint(text, pos));
  return out;
}

// The pattern as FindFirstFile hands it to the file system.
std::u32string DosForm(const std::u32string& pattern) {
  if (pattern == U"*.*") return {kStar};
  std::u32string out = pattern;
  for (std::size_t i = 0; i < pattern.size(); ++i) {
    const bool last = i + 1 == pattern.size();
    if (pattern[i] == U'?') out[i] = kDosQm;
    if (pattern[i] == U'.' && (last || pattern[i + 1] == U'?' || pattern[i + 1] == U'*')) {
      out[i] = kDosDot;
    }
  }
  // Windows makes every "*" before a "." a DOS "*". Before a plain "." that
  // changes nothing (that "." cannot come after the name's last "."), so
  // those stay plain stars, which the quick match below can take.
  for (std::size_t i = 0; i < out.size(); ++i) {
    if (out[i] == U'*') out[i] = i + 1 < out.size() && out[i + 1] == kDosDot ? kDosStar : kStar;
  }
  return out;
}

// Plain stars and characters only: greedy, with one backtrack point, the
// last star seen. Linear in practice.
bool QuickMatch(const std::u32string& tokens, const std::u32string& name) {
  std::size_t t = 0;
  std::size_t n = 0;
  std::size_t starT = std::u32string::npos;
  std::size_t starN = 0;
  while (n < name.size()) {
    if (t < tokens.size() && tokens[t] == kStar) {
      starT = t++;
      starN = n;
    } else if (t < tokens.size() && tokens[t] == name[n]) {
      ++t;
      ++n;
    } else if (starT != std::u32string::npos) {
      t = starT + 1;
      n = ++starN;
    } else {
      return false;
    }
  }
  while (t < tokens.size() && tokens[t] == kStar) ++t;
  return t == tokens.size();
}

// Runs the pattern as a machine whose state k means "the first k tokens are
// matched": |pattern| steps per character of the name at most.
bool Match(const std::u32string& tokens, const std::u32string& name) {
  const std::size_t lastDot = name.rfind(U'.');
  std::vector<char> states(tokens.size() + 1, 0);
  std::vector<char> next(tokens.size() + 1, 0);
  states[0] = 1;
  for (std::size_t n = 0; n <= name.size(); ++n) {
    const bool ended = n == name.size();
    const char32_t c = ended ? U'\0' : name[n];
    // First the tokens that may match nothing here (later tokens see it at once).
    for (std::size_t k = 0; k < tokens.size(); ++k) {
      if (!states[k]) continue;
      const char32_t t = tokens[k];
      if (t == kStar || t == kDosStar || (t == kDosQm && (ended || c == U'.')) ||
          (t == kDosDot && ended)) {
        states[k + 1] = 1;
      }
    }
    if (ended) break;
    bool any = false;
    for (std::size_t k = 0; k < tokens.size(); ++k) {
      if (!states[k]) continue;
      const char32_t t = tokens[k];
      if (t == kStar || (t == kDosStar && (c != U'.' || n != lastDot))) {
        next[k] = any = true;
      } else if ((t == kDosQm && c != U'.') || (t == kDosDot && c == U'.') || t == c) {
        next[k + 1] = any = true;
      }
    }
    if (!any) return false;
    states.swap(next);
    std::fill(next.begin(), next.end(), 0);
  }
  return states[tokens.size()] != 0;
}

}  // namespace

bool WildcardMatch(std::string_view pattern, std::string_view name) {
  if (name.empty()) return pattern.find_first_not_of('*') == std::string_view::npos;
  const std::u32string tokens = DosForm(Folded(pattern));
  const bool quick = std::none_of(tokens.begin(), tokens.end(), [](char32_t t) { return t > kStar; });
  return quick ? QuickMatch(tokens, Folded(name)) : Match(tokens, Folded(name));
}

}  // namespace platform
