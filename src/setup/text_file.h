// Text files as the distribution and the installed programs keep them:
// 8-bit Windows-1252 text, CR LF after every line. A file that Notepad saved
// as UTF-8 or UTF-16 is read too; what is written is Windows-1252.
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

// The first character of `text` that Windows-1252 cannot hold (a malformed
// byte counts as U+FFFD), as UTF-8; empty when the code page holds them all.
std::string OutsideWindows1252(std::string_view text);

// The text of file bytes, as UTF-8, up to its first NUL character:
// - after a UTF-8 byte-order mark, UTF-8 (a malformed byte becomes U+FFFD);
// - after a UTF-16 mark, little- or big-endian UTF-16 (an unpaired surrogate
//   or an odd last byte becomes U+FFFD);
// - without a mark, UTF-8 when the bytes are valid UTF-8 and hold at least
//   one character of more than one byte; else Windows-1252, so that every
//   other file reads exactly as an 8-bit file.
std::string DecodeTextFile(std::string_view bytes);

// Splits the text of file bytes (DecodeTextFile) into lines: CR LF, a lone CR
// and a lone LF each end one line, and a break at the very end adds no empty
// line.
TextList ParseTextFile(std::string_view bytes);

// Each line encoded to Windows-1252 and followed by CR LF. The line at index
// `keptLine`, when the code page cannot hold it, keeps its UTF-8 bytes
// instead of "?": a line carried from a file read as UTF-8 is written with
// the bytes it had there.
std::string FormatTextFile(const TextList& lines, int keptLine = -1);

// Raises SetupError "Cannot open file <path>" when the file cannot be read.
TextList LoadTextFile(platform::FileSystem& fs, const std::string& path);

// Raises SetupError "Cannot create file <path>" when the file cannot be
// written; an existing file is then left as it was. `keptLine` as in
// FormatTextFile.
void SaveTextFile(platform::FileSystem& fs, const std::string& path, const TextList& lines,
                  int keptLine = -1);

}  // namespace setup
