#include "setup/box_text.h"

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
  if (!message.empty() && static_cast<unsigned char>(message.back()) > '.') return message + ".";
  return message;
}

}  // namespace setup
