// Text files from the distribution (Install.dat, the system file): any bytes
// split into lines, formatted back, and the Windows-1252 codec both ways.
#include "setup/text_file.h"

#include <cstddef>
#include <cstdint>
#include <set>
#include <string>
#include <string_view>

#include "fuzz_support.h"
#include "platform/unicode.h"

namespace {

// The file as FormatTextFile(ParseTextFile(bytes)) must give it back, worked
// out byte by byte: cut at the first NUL, every CR LF, lone CR and lone LF
// made CR LF, and a last line without a break given one.
std::string Normalised(std::string_view bytes) {
  std::string out;
  bool lineOpen = false;
  for (std::size_t i = 0; i < bytes.size() && bytes[i] != '\0'; ++i) {
    if (bytes[i] == '\r' || bytes[i] == '\n') {
      if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
      out += "\r\n";
      lineOpen = false;
    } else {
      out += bytes[i];
      lineOpen = true;
    }
  }
  if (lineOpen) out += "\r\n";
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

bool ValidUtf8(std::string_view bytes) {  // decoded and encoded again, they are the same
  std::string again;
  for (std::size_t i = 0; i < bytes.size();) {
    platform::AppendUtf8(again, platform::NextCodePoint(bytes, i));
  }
  return again == bytes;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);

  const setup::TextList lines = setup::ParseTextFile(bytes);
  // Without a mark and not valid UTF-8 beyond ASCII: Windows-1252, read as ever.
  const std::string_view text = bytes.substr(0, bytes.find('\0'));
  const bool marked = bytes.substr(0, 3) == "\xEF\xBB\xBF" || bytes.substr(0, 2) == "\xFF\xFE" ||
                      bytes.substr(0, 2) == "\xFE\xFF";
  const bool windows1252 = !marked && (platform::CodePointCount(text) == text.size() || !ValidUtf8(text));
  for (const std::string& line : lines.Lines()) {
    if (line.find_first_of(std::string_view("\r\n\0", 3)) != std::string::npos || !ValidUtf8(line)) {
      fuzz::Fail("a line is UTF-8 without CR, LF or NUL", line);
    }
    if (!windows1252) continue;
    // Every decoded character is one of the code page's, so it encodes to
    // exactly one byte and decodes back to itself.
    const std::string encoded = setup::EncodeWindows1252(line);
    if (encoded.size() != platform::CodePointCount(line) ||
        setup::DecodeWindows1252(encoded) != line) {
      fuzz::Fail("a decoded line encodes back to itself", line);
    }
  }

  const std::string formatted = setup::FormatTextFile(lines);
  if (windows1252 && formatted != Normalised(bytes)) {
    fuzz::Fail("formatting gives the file with CR LF breaks", formatted);
  }
  if (windows1252 && setup::ParseTextFile(formatted).Lines() != lines.Lines()) {
    fuzz::Fail("the formatted file parses to the same lines", formatted);
  }

  // Every byte string survives decoding and encoding, NUL, CR and LF included.
  if (setup::EncodeWindows1252(setup::DecodeWindows1252(bytes)) != bytes) {
    fuzz::Fail("Windows-1252 bytes survive decoding and encoding", std::string(bytes));
  }

  // The same bytes as UTF-8 text: each character becomes one byte, which
  // decodes to the character itself when the code page holds it, else is "?".
  const std::string encoded = setup::EncodeWindows1252(bytes);
  const std::string decoded = setup::DecodeWindows1252(encoded);
  std::size_t pos = 0;
  std::size_t back = 0;
  for (std::size_t i = 0; i < encoded.size(); ++i) {
    if (pos >= bytes.size()) fuzz::Fail("one byte per character", std::string(bytes));
    const char32_t original = platform::NextCodePoint(bytes, pos);
    const char32_t roundTrip = platform::NextCodePoint(decoded, back);
    const char32_t expected = CodePage().count(original) != 0 ? original : U'?';
    if (roundTrip != expected) {
      fuzz::Fail("a character encodes to itself, or to \"?\" outside the code page",
                 std::string(bytes));
    }
  }
  if (pos != bytes.size()) fuzz::Fail("one byte per character", std::string(bytes));
  return 0;
}
