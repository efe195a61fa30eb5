#include "platform/unicode.h"

#include <cstdint>

namespace platform {

char32_t NextCodePoint(std::string_view text, std::size_t& pos) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char lead = byte(pos);
  std::size_t length = 0;
  char32_t cp = 0;
  constexpr char32_t kReplacement = 0xFFFD;
  if (lead < 0x80) {
    ++pos;
    return lead;
  } else if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
    cp = lead & 0x1F;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    cp = lead & 0x0F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    cp = lead & 0x07;
  }
  if (length == 0 || pos + length > text.size()) {
    ++pos;
    return kReplacement;
  }
  for (std::size_t i = 1; i < length; ++i) {
    if ((byte(pos + i) & 0xC0) != 0x80) {
      ++pos;
      return kReplacement;
    }
    cp = (cp << 6) | (byte(pos + i) & 0x3F);
  }
  // Overlong forms, surrogates and values past U+10FFFF are not UTF-8.
  const bool overlong = (length == 3 && cp < 0x800) || (length == 4 && cp < 0x10000);
  if (overlong || (cp >= 0xD800 && cp <= 0xDFFF) || cp > 0x10FFFF) {
    ++pos;
    return kReplacement;
  }
  pos += length;
  return cp;
}

void AppendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

std::size_t CodePointCount(std::string_view text) {
  std::size_t count = 0;
  for (std::size_t pos = 0; pos < text.size(); ++count) NextCodePoint(text, pos);
  return count;
}

std::string SubstrChars(std::string_view text, std::size_t first, std::size_t count) {
  std::size_t pos = 0;
  for (std::size_t i = 0; i < first && pos < text.size(); ++i) NextCodePoint(text, pos);
  const std::size_t begin = pos;
  for (std::size_t i = 0; i < count && pos < text.size(); ++i) NextCodePoint(text, pos);
  return std::string(text.substr(begin, pos - begin));
}

std::size_t CharPos(std::string_view text, std::string_view needle) {
  const std::size_t at = text.find(needle);
  if (at == std::string_view::npos) return 0;
  return CodePointCount(text.substr(0, at)) + 1;
}

char32_t ToUpper(char32_t cp) {
  if (cp >= U'a' && cp <= U'z') return cp - 0x20;
  if (cp >= 0xE0 && cp <= 0xFE && cp != 0xF7) return cp - 0x20;  // à-þ, not ÷
  switch (cp) {
    case 0xFF: return 0x178;   // ÿ
    case 0x153: return 0x152;  // œ
    case 0x161: return 0x160;  // š
    case 0x17E: return 0x17D;  // ž
    default: return cp;
  }
}

char32_t ToLower(char32_t cp) {
  if (cp >= U'A' && cp <= U'Z') return cp + 0x20;
  if (cp >= 0xC0 && cp <= 0xDE && cp != 0xD7) return cp + 0x20;  // À-Þ, not ×
  switch (cp) {
    case 0x178: return 0xFF;
    case 0x152: return 0x153;
    case 0x160: return 0x161;
    case 0x17D: return 0x17E;
    default: return cp;
  }
}

namespace {

// Maps every character, keeping the bytes of those it leaves alone (and of
// malformed sequences) exactly as they were.
std::string MapCase(std::string_view text, char32_t (*map)(char32_t)) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t pos = 0; pos < text.size();) {
    const std::size_t start = pos;
    const char32_t cp = NextCodePoint(text, pos);
    const char32_t mapped = map(cp);
    if (mapped == cp) {
      out.append(text.substr(start, pos - start));
    } else {
      AppendUtf8(out, mapped);
    }
  }
  return out;
}

}  // namespace

std::string ToUpper(std::string_view text) { return MapCase(text, &ToUpper); }
std::string ToLower(std::string_view text) { return MapCase(text, &ToLower); }
std::string FileNameUpper(std::string_view text) { return MapCase(text, &FileNameUpper); }

namespace {

// Sort weight of an upper-cased character: Danish letters follow Z.
std::uint32_t SortWeight(char32_t upper) {
  switch (upper) {
    case 0xC6: return U'Z' * 4 + 1;  // Æ
    case 0xD8: return U'Z' * 4 + 2;  // Ø
    case 0xC5: return U'Z' * 4 + 3;  // Å
    default: return static_cast<std::uint32_t>(upper) * 4;
  }
}

}  // namespace

int CompareIgnoreCase(std::string_view a, std::string_view b) {
  std::size_t i = 0;
  std::size_t j = 0;
  while (i < a.size() && j < b.size()) {
    const std::uint32_t wa = SortWeight(ToUpper(NextCodePoint(a, i)));
    const std::uint32_t wb = SortWeight(ToUpper(NextCodePoint(b, j)));
    if (wa != wb) return wa < wb ? -1 : 1;
  }
  if (i < a.size()) return 1;
  if (j < b.size()) return -1;
  return 0;
}

bool EqualsIgnoreCase(std::string_view a, std::string_view b) {
  return CompareIgnoreCase(a, b) == 0;
}

}  // namespace platform
