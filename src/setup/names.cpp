#include "setup/names.h"

#include <string>

#include "platform/unicode.h"

namespace setup {

namespace {

constexpr std::string_view kForbidden = "<>:\"/\\|?*";

// The device names, upper case; a trailing "#" stands for a digit 0 to 9 or
// one of the superscripts ¹ ² ³.
constexpr std::string_view kDevices[] = {"CON", "PRN", "AUX", "NUL", "COM#", "LPT#", "CONIN$",
                                         "CONOUT$"};

bool IsDeviceDigit(std::string_view digit) {
  return (digit.size() == 1 && digit[0] >= '0' && digit[0] <= '9') || digit == "\xC2\xB9" ||
         digit == "\xC2\xB2" || digit == "\xC2\xB3";
}

// Windows takes the name up to its first dot, trailing spaces dropped, as the
// device: "nul", "NUL.txt", "Aux .cfg" and "com1.a.b" all open one.
bool IsDeviceName(std::string_view part) {
  std::string_view base = part.substr(0, part.find('.'));
  while (!base.empty() && base.back() == ' ') base.remove_suffix(1);
  const std::string upper = platform::ToUpper(base);
  for (const std::string_view device : kDevices) {
    if (device.back() != '#') {
      if (upper == device) return true;
    } else if (upper.compare(0, device.size() - 1, device.substr(0, device.size() - 1)) == 0 &&
               IsDeviceDigit(std::string_view(upper).substr(device.size() - 1))) {
      return true;
    }
  }
  return false;
}

}  // namespace

std::size_t WindowsLength(std::string_view path) {
  std::size_t length = 0;
  for (std::size_t pos = 0; pos < path.size();) {
    length += platform::NextCodePoint(path, pos) > 0xFFFF ? 2 : 1;
  }
  return length;
}

bool UsableNamePart(std::string_view part) {
  if (part.empty() || WindowsLength(part) > 255) return false;
  for (const char c : part) {
    if (static_cast<unsigned char>(c) < 0x20 || kForbidden.find(c) != std::string_view::npos) {
      return false;
    }
  }
  return part.back() != '.' && part.back() != ' ' && !IsDeviceName(part);
}

bool UsableRelativeName(std::string_view name) {
  for (std::size_t start = 0;;) {
    const std::size_t end = name.find_first_of("\\/", start);
    if (!UsableNamePart(name.substr(start, end - start))) return false;
    if (end == std::string_view::npos) return true;
    start = end + 1;
  }
}

bool HasParentPart(std::string_view path) {
  for (std::size_t start = 0; start <= path.size();) {
    std::size_t end = path.find_first_of("\\/", start);
    if (end == std::string_view::npos) end = path.size();
    const std::string_view part = path.substr(start, end - start);
    if (part != "." && !part.empty() && part.find_first_not_of(". ") == std::string_view::npos) {
      return true;
    }
    start = end + 1;
  }
  return false;
}

bool StaysInside(std::string_view name) {
  if (name.empty()) return true;
  if (name.front() == '\\' || name.front() == '/' || name.find(':') != std::string_view::npos) {
    return false;
  }
  return !HasParentPart(name);
}

bool AskedFor(std::string_view name) { return StaysInside(name) && UsableRelativeName(name); }

}  // namespace setup
