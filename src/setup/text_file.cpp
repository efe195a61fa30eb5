#include "setup/text_file.h"

#include "platform/unicode.h"
#include "setup/setup_error.h"

namespace setup {

namespace {

// Characters of the bytes 0x80-0x9F; the rest of the code page equals Latin-1.
constexpr char32_t kHighControls[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

constexpr char32_t kReplacement = 0xFFFD;
constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LittleEndianMark = "\xFF\xFE";
constexpr std::string_view kUtf16BigEndianMark = "\xFE\xFF";

char32_t FromByte(unsigned char byte) {
  return (byte >= 0x80 && byte < 0xA0) ? kHighControls[byte - 0x80] : byte;
}

char ToByte(char32_t cp) {
  if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) return static_cast<char>(cp);
  for (unsigned i = 0; i < 32; ++i) {
    if (kHighControls[i] == cp) return static_cast<char>(0x80 + i);
  }
  return '?';
}

bool StartsWith(std::string_view bytes, std::string_view mark) {
  return bytes.substr(0, mark.size()) == mark;
}

// Whether the bytes are valid UTF-8 that holds a character of more than one
// byte; a valid U+FFFD takes three bytes, a malformed byte decodes to it in one.
bool IsMultiByteUtf8(std::string_view bytes) {
  bool multiByte = false;
  for (std::size_t pos = 0; pos < bytes.size();) {
    const std::size_t start = pos;
    if (platform::NextCodePoint(bytes, pos) == kReplacement && pos - start == 1) return false;
    multiByte = multiByte || pos - start > 1;
  }
  return multiByte;
}

// UTF-8 bytes as text: a malformed byte becomes U+FFFD.
std::string Utf8Text(std::string_view bytes) {
  std::string text;
  text.reserve(bytes.size());
  for (std::size_t pos = 0; pos < bytes.size();) {
    platform::AppendUtf8(text, platform::NextCodePoint(bytes, pos));
  }
  return text;
}

// UTF-16 bytes as text, up to the first NUL character.
std::string Utf16Text(std::string_view bytes, bool bigEndian) {
  const auto unit = [&](std::size_t i) -> char32_t {
    const auto first = static_cast<unsigned char>(bytes[i]);
    const auto second = static_cast<unsigned char>(bytes[i + 1]);
    return bigEndian ? (first << 8 | second) : (second << 8 | first);
  };
  std::string text;
  text.reserve(bytes.size());
  std::size_t i = 0;
  for (; i + 1 < bytes.size(); i += 2) {
    char32_t cp = unit(i);
    if (cp == 0) return text;
    if (cp >= 0xD800 && cp <= 0xDBFF && i + 3 < bytes.size() && unit(i + 2) >= 0xDC00 &&
        unit(i + 2) <= 0xDFFF) {
      cp = 0x10000 + ((cp - 0xD800) << 10) + (unit(i + 2) - 0xDC00);
      i += 2;
    } else if (cp >= 0xD800 && cp <= 0xDFFF) {
      cp = kReplacement;
    }
    platform::AppendUtf8(text, cp);
  }
  if (i < bytes.size()) platform::AppendUtf8(text, kReplacement);
  return text;
}

}  // namespace

std::string DecodeWindows1252(std::string_view bytes) {
  std::string text;
  text.reserve(bytes.size());
  for (const char byte : bytes) platform::AppendUtf8(text, FromByte(static_cast<unsigned char>(byte)));
  return text;
}

std::string EncodeWindows1252(std::string_view text) {
  std::string bytes;
  bytes.reserve(text.size());
  for (std::size_t pos = 0; pos < text.size();) bytes += ToByte(platform::NextCodePoint(text, pos));
  return bytes;
}

std::string OutsideWindows1252(std::string_view text) {
  for (std::size_t pos = 0; pos < text.size();) {
    const char32_t cp = platform::NextCodePoint(text, pos);
    if (cp != U'?' && ToByte(cp) == '?') {
      std::string character;
      platform::AppendUtf8(character, cp);
      return character;
    }
  }
  return {};
}

std::string DecodeTextFile(std::string_view bytes) {
  if (StartsWith(bytes, kUtf16LittleEndianMark) || StartsWith(bytes, kUtf16BigEndianMark)) {
    return Utf16Text(bytes.substr(2), bytes[0] == kUtf16BigEndianMark[0]);
  }
  const bool utf8Mark = StartsWith(bytes, kUtf8Mark);
  if (utf8Mark) bytes.remove_prefix(kUtf8Mark.size());
  bytes = bytes.substr(0, bytes.find('\0'));
  if (utf8Mark) return Utf8Text(bytes);
  return IsMultiByteUtf8(bytes) ? std::string(bytes) : DecodeWindows1252(bytes);
}

TextList ParseTextFile(std::string_view bytes) {
  const std::string text = DecodeTextFile(bytes);
  TextList lines;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find_first_of("\r\n", start);
    if (end == std::string::npos) end = text.size();
    lines.Add(text.substr(start, end - start));
    if (end < text.size() && text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n') {
      ++end;
    }
    start = end + 1;
  }
  return lines;
}

std::string FormatTextFile(const TextList& lines, int keptLine) {
  std::string bytes;
  for (int i = 0; i < lines.Count(); ++i) {
    const std::string& line = lines.Get(i);
    bytes += i == keptLine && !OutsideWindows1252(line).empty() ? line : EncodeWindows1252(line);
    bytes += "\r\n";
  }
  return bytes;
}

TextList LoadTextFile(platform::FileSystem& fs, const std::string& path) {
  std::string bytes;
  if (fs.ReadWholeFile(path, bytes) != platform::kOk) throw SetupError("Cannot open file " + path);
  return ParseTextFile(bytes);
}

void SaveTextFile(platform::FileSystem& fs, const std::string& path, const TextList& lines,
                  int keptLine) {
  if (fs.WriteWholeFile(path, FormatTextFile(lines, keptLine)) != platform::kOk) {
    throw SetupError("Cannot create file " + path);
  }
}

}  // namespace setup
