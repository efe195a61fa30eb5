// Conversion between the program's UTF-8 strings and the UTF-16 strings that
// the wide-character Win32 API takes, done at each call into Windows.
#pragma once

#include <string>
#include <string_view>

namespace platform {

// UTF-8 to UTF-16. Invalid UTF-8 sequences become U+FFFD, as Windows decodes
// them; an empty input gives an empty string.
std::wstring Widen(std::string_view text);

// UTF-16 to UTF-8. Unpaired surrogates become U+FFFD.
std::string Narrow(std::wstring_view text);

}  // namespace platform
