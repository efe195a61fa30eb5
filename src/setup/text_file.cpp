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

TextList ParseTextFile(std::string_view bytes) {
  bytes = bytes.substr(0, bytes.find('\0'));
  TextList lines;
  std::size_t start = 0;
  while (start < bytes.size()) {
    std::size_t end = bytes.find_first_of("\r\n", start);
    if (end == std::string_view::npos) end = bytes.size();
    lines.Add(DecodeWindows1252(bytes.substr(start, end - start)));
    if (end < bytes.size() && bytes[end] == '\r' && end + 1 < bytes.size() && bytes[end + 1] == '\n') {
      ++end;
    }
    start = end + 1;
  }
  return lines;
}

std::string FormatTextFile(const TextList& lines) {
  std::string bytes;
  for (const auto& line : lines.Lines()) {
    bytes += EncodeWindows1252(line);
    bytes += "\r\n";
  }
  return bytes;
}

TextList LoadTextFile(platform::FileSystem& fs, const std::string& path) {
  std::string bytes;
  if (fs.ReadWholeFile(path, bytes) != platform::kOk) throw SetupError("Cannot open file " + path);
  return ParseTextFile(bytes);
}

void SaveTextFile(platform::FileSystem& fs, const std::string& path, const TextList& lines) {
  if (fs.WriteWholeFile(path, FormatTextFile(lines)) != platform::kOk) {
    throw SetupError("Cannot create file " + path);
  }
}

}  // namespace setup
