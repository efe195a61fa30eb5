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
  // What follows the error's first line (a list of paths) is left as it is.
  const std::size_t end = std::min(message.find('\n'), message.size());
  if (end > 0 && static_cast<unsigned char>(message[end - 1]) > '.') {
    return message.substr(0, end) + "." + message.substr(end);
  }
  return message;
}

}  // namespace setup
