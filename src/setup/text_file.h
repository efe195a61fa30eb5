// Text files as the distribution and the installed programs keep them:
// 8-bit Windows-1252 text, CR LF after every line.
#pragma once

#include <string>
#include <string_view>

#include "platform/file_system.h"
#include "setup/text_list.h"

namespace setup {

// Windows-1252 bytes to UTF-8. Every byte maps to one character, the five
// bytes the code page leaves undefined to U+0081, U+008D, U+008F, U+0090 and
// U+009D, as Windows maps them, so that any byte survives a round trip.
std::string DecodeWindows1252(std::string_view bytes);

// UTF-8 to Windows-1252; a character the code page cannot hold becomes "?".
std::string EncodeWindows1252(std::string_view text);

// Splits file bytes into lines: CR LF, a lone CR and a lone LF each end one
// line, a break at the very end adds no empty line, and a NUL byte ends the
// text. Each line is decoded from Windows-1252.
TextList ParseTextFile(std::string_view bytes);

// Each line encoded to Windows-1252 and followed by CR LF.
std::string FormatTextFile(const TextList& lines);

// Raises SetupError "Cannot open file <path>" when the file cannot be read.
TextList LoadTextFile(platform::FileSystem& fs, const std::string& path);

// Raises SetupError "Cannot create file <path>" when the file cannot be
// written; an existing file is then left as it was.
void SaveTextFile(platform::FileSystem& fs, const std::string& path, const TextList& lines);

}  // namespace setup
