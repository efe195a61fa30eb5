// The names Windows can give a file or folder. What the technician types (the
// program folder, a station, the system name) and what the distribution
// lists become parts of paths; a part that breaks the rule either fails on
// Windows or, worse, opens a device instead of a file (AUX, a serial port).
#pragma once

#include <cstddef>
#include <string_view>

namespace setup {

// Whether one part of a path (a file or folder name, no "\") is a name that
// Windows can use for a file of its own:
// - not empty, at most 255 UTF-16 characters;
// - free of < > : " / \ | ? * and of control characters (0 to 31);
// - not ending in a dot or a space, which Windows drops from the name;
// - not a device name (CON, PRN, AUX, NUL, COM0 to COM9, LPT0 to LPT9, also
//   with the digits ¹ ² ³, CONIN$, CONOUT$), whatever its case, with or
//   without an extension, with trailing dots or spaces before it.
bool UsableNamePart(std::string_view part);

// Whether every part of a relative name ("sub\x.exe", or "sub/x.exe": Windows
// takes both as separators) is usable.
bool UsableRelativeName(std::string_view name);

// Whether a part of the path is "..", or what acts as "..": Windows drops
// trailing dots and spaces, so ". ." or "..." do too.
bool HasParentPart(std::string_view path);

// Whether a file name from the distribution stays inside the folder it is
// joined to: not absolute, no drive or stream (":"), no ".." part. Names in
// subfolders ("sub\x.exe") are fine.
bool StaysInside(std::string_view name);

// Whether a name from the distribution is handed to Windows at all: it stays
// inside its folders and every part of it is a name Windows can use (AUX or
// COM1.cfg could open a serial port, even to read its attributes).
bool AskedFor(std::string_view name);

// The length of a path as Windows counts it, in UTF-16 characters.
std::size_t WindowsLength(std::string_view path);

// The longest folder (247) and path (259) that Windows handles in programs
// that do not declare themselves aware of long paths.
inline constexpr std::size_t kMaxFolderLength = 247;
inline constexpr std::size_t kMaxPathLength = 259;

}  // namespace setup
