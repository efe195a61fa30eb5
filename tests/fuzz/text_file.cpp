// Text files from the distribution (Install.dat, the system file): any bytes,
// in any of the encodings the reader takes, split into lines, formatted back,
// and the Windows-1252 codec both ways.
#include "setup/text_file.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <set>
#include <string>
#include <string_view>

#include "fuzz_support.h"
#include "platform/unicode.h"

namespace {

// The file as FormatTextFile(ParseTextFile(bytes)) must give it back, worked
// out unit by unit (bytes, or UTF-16 code units): cut at the first NUL, every
// CR LF, lone CR and lone LF made CR LF, and a last line without a break
// given one.
template <typename Char>
std::basic_string<Char> Normalised(std::basic_string_view<Char> units) {
  std::basic_string<Char> out;
  bool lineOpen = false;
  for (std::size_t i = 0; i < units.size() && units[i] != 0; ++i) {
    if (units[i] == '\r' || units[i] == '\n') {
      if (units[i] == '\r' && i + 1 < units.size() && units[i + 1] == '\n') ++i;
      out += {Char('\r'), Char('\n')};
      lineOpen = false;
    } else {
      out += units[i];
      lineOpen = true;
    }
  }
  if (lineOpen) out += {Char('\r'), Char('\n')};
  return out;
}

// The characters of the code page, as its 256 bytes decode.
const std::set<char32_t>& CodePage() {
  static const std::set<char32_t> characters = [] {
    std::string all;
    for (int byte = 0; byte < 256; ++byte) all += static_cast<char>(byte);
    const std::string text = setup::DecodeWindows1252(all);
    std::set<char32_t> set;
    for (std::size_t pos = 0; pos < text.size();) set.insert(platform::NextCodePoint(text, pos));
    return set;
  }();
  return characters;
}

// Whether UTF-8 decoding keeps the bytes as they are: no malformed sequence.
bool ValidUtf8(std::string_view bytes) {
  std::string again;
  for (std::size_t pos = 0; pos < bytes.size();) {
    platform::AppendUtf8(again, platform::NextCodePoint(bytes, pos));
  }
  return again == bytes;
}

// The UTF-16 code units of UTF-8 text.
std::u16string Utf16(std::string_view text) {
  std::u16string units;
  for (std::size_t pos = 0; pos < text.size();) {
    const char32_t cp = platform::NextCodePoint(text, pos);
    if (cp < 0x10000) {
      units += static_cast<char16_t>(cp);
    } else {
      units += static_cast<char16_t>(0xD800 + ((cp - 0x10000) >> 10));
      units += static_cast<char16_t>(0xDC00 + ((cp - 0x10000) & 0x3FF));
    }
  }
  return units;
}

// The code units of UTF-16 bytes, when they are whole and every surrogate
// before the first NUL is paired; else nothing.
std::optional<std::u16string> WellFormedUtf16(std::string_view bytes, bool bigEndian) {
  std::u16string units;
  for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
    const auto first = static_cast<unsigned char>(bytes[i]);
    const auto second = static_cast<unsigned char>(bytes[i + 1]);
    units += static_cast<char16_t>(bigEndian ? (first << 8 | second) : (second << 8 | first));
  }
  const std::size_t end = std::min(units.find(u'\0'), units.size());
  if (end == units.size() && bytes.size() % 2 != 0) return std::nullopt;
  for (std::size_t i = 0; i < end; ++i) {
    const bool high = units[i] >= 0xD800 && units[i] <= 0xDBFF;
    const bool low = units[i] >= 0xDC00 && units[i] <= 0xDFFF;
    if (low || (high && (i + 1 >= end || units[i + 1] < 0xDC00 || units[i + 1] > 0xDFFF))) {
      return std::nullopt;
    }
    if (high) ++i;
  }
  return units;
}

std::string Joined(const setup::TextList& lines) {
  std::string text;
  for (const std::string& line : lines.Lines()) text += line + "\r\n";
  return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);

  const setup::TextList lines = setup::ParseTextFile(bytes);
  for (const std::string& line : lines.Lines()) {
    if (line.find_first_of(std::string_view("\r\n\0", 3)) != std::string::npos) {
      fuzz::Fail("a line holds no CR, LF or NUL", line);
    }
    if (!ValidUtf8(line)) fuzz::Fail("a line is UTF-8", line);
  }

  // What the bytes are, by the marks Notepad writes and else by their form.
  const std::string_view text = bytes.substr(0, bytes.find('\0'));
  const bool littleEndian = bytes.substr(0, 2) == "\xFF\xFE";
  const bool bigEndian = bytes.substr(0, 2) == "\xFE\xFF";
  if (littleEndian || bigEndian) {
    const auto units = WellFormedUtf16(bytes.substr(2), bigEndian);
    if (units && Utf16(Joined(lines)) != Normalised<char16_t>(*units)) {
      fuzz::Fail("a UTF-16 file reads as its characters", Joined(lines));
    }
  } else if (bytes.substr(0, 3) == "\xEF\xBB\xBF") {
    const std::string_view afterMark = bytes.substr(3);
    const std::string_view utf8 = afterMark.substr(0, afterMark.find('\0'));
    if (ValidUtf8(utf8) && Joined(lines) != Normalised(utf8)) {
      fuzz::Fail("a UTF-8 file after its mark reads as its bytes", Joined(lines));
    }
  } else if (ValidUtf8(text) && platform::CodePointCount(text) != text.size()) {
    if (Joined(lines) != Normalised(text)) fuzz::Fail("a UTF-8 file reads as its bytes", Joined(lines));
  } else {
    // A Windows-1252 file reads exactly as it always did: every decoded
    // character is one of the code page's, so it encodes to exactly one byte
    // and decodes back to itself, and formatting gives the file back.
    for (const std::string& line : lines.Lines()) {
      const std::string encoded = setup::EncodeWindows1252(line);
      if (encoded.size() != platform::CodePointCount(line) ||
          setup::DecodeWindows1252(encoded) != line) {
        fuzz::Fail("a decoded line encodes back to itself", line);
      }
    }
    const std::string formatted = setup::FormatTextFile(lines);
    if (formatted != Normalised(bytes)) {
      fuzz::Fail("formatting gives the file with CR LF breaks", formatted);
    }
    if (setup::ParseTextFile(formatted).Lines() != lines.Lines()) {
      fuzz::Fail("the formatted file parses to the same lines", formatted);
    }
  }

  // Every byte string survives decoding and encoding, NUL, CR and LF included.
  if (setup::EncodeWindows1252(setup::DecodeWindows1252(bytes)) != bytes) {
    fuzz::Fail("Windows-1252 bytes survive decoding and encoding", std::string(bytes));
  }

  // The same bytes as UTF-8 text: each character becomes one byte, which
  // decodes to the character itself when the code page holds it, else is "?"
  // and is the first the code page cannot hold.
  const std::string encoded = setup::EncodeWindows1252(bytes);
  const std::string decoded = setup::DecodeWindows1252(encoded);
  std::string firstOutside;
  std::size_t pos = 0;
  std::size_t back = 0;
  for (std::size_t i = 0; i < encoded.size(); ++i) {
    if (pos >= bytes.size()) fuzz::Fail("one byte per character", std::string(bytes));
    const char32_t original = platform::NextCodePoint(bytes, pos);
    const char32_t roundTrip = platform::NextCodePoint(decoded, back);
    const bool held = CodePage().count(original) != 0;
    if (roundTrip != (held ? original : U'?')) {
      fuzz::Fail("a character encodes to itself, or to \"?\" outside the code page",
                 std::string(bytes));
    }
    if (!held && firstOutside.empty()) platform::AppendUtf8(firstOutside, original);
  }
  if (pos != bytes.size()) fuzz::Fail("one byte per character", std::string(bytes));
  if (setup::OutsideWindows1252(bytes) != firstOutside) {
    fuzz::Fail("the first character outside the code page is named", std::string(bytes));
  }
  return 0;
}
