// UTF-8 helpers shared by every layer. Text inside the program is UTF-8;
// positions and lengths that the system file format counts are characters
// (code points), since the format was born in an 8-bit code page.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace platform {

// Decodes the code point that starts at `pos` and advances `pos` past it.
// A byte that does not start a valid sequence decodes as U+FFFD and advances
// by one, so every input terminates.
char32_t NextCodePoint(std::string_view text, std::size_t& pos);

void AppendUtf8(std::string& out, char32_t cp);

std::size_t CodePointCount(std::string_view text);

// Characters [first, first + count) counted in code points, clipped to the
// text; count npos means "to the end".
std::string SubstrChars(std::string_view text, std::size_t first,
                        std::size_t count = std::string::npos);

// 1-based character position of the first occurrence of `needle`, 0 when absent.
std::size_t CharPos(std::string_view text, std::string_view needle);

// Upper case for the letters a Danish Windows code page can hold (ASCII,
// Latin-1 and the Windows-1252 extras such as œ and š); other characters
// stay. For what the technician reads and types, not for file names.
char32_t ToUpper(char32_t cp);
std::string ToUpper(std::string_view text);
char32_t ToLower(char32_t cp);
std::string ToLower(std::string_view text);

// The upper case Windows gives a file name to compare it with another (the
// table of an NTFS volume, the names the system looks up): each UTF-16 code
// unit on its own, by Unicode's simple mapping where that pairs one
// lower-case letter with one upper-case letter (ł Ł, ω Ω, ж Ж, ÿ Ÿ). A
// letter without a one-character upper case (ß), one that shares its upper
// case with another (µ with μ, ı with i, ς with σ) and every character past
// U+FFFF, which is two code units, stay as they are. Two names are one file's
// when their FileNameUpper forms are equal; ToUpper is not that rule.
char32_t FileNameUpper(char32_t cp);
std::string FileNameUpper(std::string_view text);

// Case-insensitive comparisons in the same sense as ToUpper. CompareIgnoreCase
// orders Æ, Ø and Å after Z, as a Danish reader expects a sorted list to be.
bool EqualsIgnoreCase(std::string_view a, std::string_view b);
int CompareIgnoreCase(std::string_view a, std::string_view b);

}  // namespace platform
