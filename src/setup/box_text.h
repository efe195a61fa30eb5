// The texts of the program's own boxes: the title they carry and the text of
// the error box. Rules of the system, kept apart from the window that shows
// them.
#pragma once

#include <string>
#include <string_view>

namespace setup {

// The program's title from its executable's file name: the name cut at its
// first ".", all after the first character in lower case ("SETUP.EXE" gives
// "Setup").
std::string TitleFromFileName(const std::string& fileName);

// An error's text as the error box shows it: its paths shortened
// (ShortenedPaths), and a "." appended to its first line when that line's
// last character sorts above "." (bytes, so that any letter beyond ASCII does
// too); what follows the line (a list of paths) gets none.
std::string ErrorBoxText(const std::string& message);

// A path as a box shows it, so that the box fits on a 1024 x 768 screen: one
// of more than 90 characters loses its middle to "…", keeping the drive, the
// first folder and the last two parts ("C:\KAMBRIX\…\pic\x.png"); when
// those alone are too long, what is left keeps its first 44 and last 45
// characters.
std::string ShortenedPath(std::string_view path);

// A text whose lines may end in a path ("Cannot create file C:\..."), from
// the drive letter on: each such path shortened.
std::string ShortenedPaths(std::string_view text);

}  // namespace setup
