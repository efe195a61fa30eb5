// The texts of the program's own boxes: the title they carry and the text of
// the error box. Rules of the system, kept apart from the window that shows
// them.
#pragma once

#include <string>

namespace setup {

// The program's title from its executable's file name: the name cut at its
// first ".", all after the first character in lower case ("SETUP.EXE" gives
// "Setup").
std::string TitleFromFileName(const std::string& fileName);

// An error's text as the error box shows it: a "." is appended to its first
// line when that line's last character sorts above "." (bytes, so that any
// letter beyond ASCII does too); what follows the line stays as it is.
std::string ErrorBoxText(const std::string& message);

}  // namespace setup
