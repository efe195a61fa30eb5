#include "setup/box_text.h"

#include <algorithm>
#include <string_view>

#include "platform/unicode.h"

namespace setup {

std::string TitleFromFileName(const std::string& fileName) {
  const std::string base = fileName.substr(0, fileName.find('.'));
  if (base.empty()) return base;
  std::size_t first = 0;
  platform::NextCodePoint(base, first);
  return base.substr(0, first) + platform::ToLower(std::string_view(base).substr(first));
}

std::string ErrorBoxText(const std::string& message) {
  const std::string text = ShortenedPaths(message);  // the box fits on the screen
  const std::size_t end = std::min(text.find('\n'), text.size());
  if (end > 0 && static_cast<unsigned char>(text[end - 1]) > '.') {
    return text.substr(0, end) + "." + text.substr(end);
  }
  return text;
}

namespace {

constexpr std::size_t kShownPathLength = 90;
constexpr char kEllipsis[] = "\xE2\x80\xA6";

// Where the first path of a line starts: a letter, ":" and "\"; the line's
// length when it holds none.
std::size_t DriveAt(std::string_view line) {
  for (std::size_t colon = line.find(":\\", 1); colon != std::string_view::npos;
       colon = line.find(":\\", colon + 1)) {
    const char letter = static_cast<char>(line[colon - 1] | 0x20);
    if (letter >= 'a' && letter <= 'z') return colon - 1;
  }
  return line.size();
}

}  // namespace

std::string ShortenedPath(std::string_view path) {
  if (platform::CodePointCount(path) <= kShownPathLength) return std::string(path);
  std::string shown(path);
  const std::size_t headEnd = path.find('\\', path.find('\\') + 1);
  const std::size_t tailStart = path.rfind('\\', path.rfind('\\') - 1);
  if (headEnd != std::string_view::npos && tailStart != std::string_view::npos &&
      headEnd < tailStart) {
    shown = std::string(path.substr(0, headEnd)) + "\\" + kEllipsis;
    shown += path.substr(tailStart);
  }
  const std::size_t length = platform::CodePointCount(shown);
  if (length <= kShownPathLength) return shown;
  const std::size_t kept = kShownPathLength - 1;
  return platform::SubstrChars(shown, 0, kept / 2) + kEllipsis +
         platform::SubstrChars(shown, length - (kept - kept / 2));
}

std::string ShortenedPaths(std::string_view text) {
  std::string shown;
  for (std::size_t start = 0; start <= text.size();) {
    const std::size_t end = std::min(text.find('\n', start), text.size());
    const std::string_view line = text.substr(start, end - start);
    const std::size_t path = DriveAt(line);
    shown += line.substr(0, path);
    if (path < line.size()) shown += ShortenedPath(line.substr(path));
    if (end < text.size()) shown += '\n';
    start = end + 1;
  }
  return shown;
}

}  // namespace setup
