// Matching of Windows wildcard patterns against long file names.
#pragma once

#include <string_view>

namespace platform {

// Matches as a Windows folder search does, which hands the file system every
// "?" and some "*" and "." in their DOS forms; letters match as Windows
// compares file names (FileNameUpper).
// - "*" matches any run of characters; "*.*" alone matches every name.
// - "?" matches one character other than ".", or nothing where the name, or
//   its part before a ".", has ended: "DATA????" matches DATA, DATA05 and
//   DATA2004, but not DATA2004X.
// - A "." before a "?" or "*", or at the end, matches a "." or the end of the
//   name: "abc.*" and "abc." match abc; "*." matches the names without a ".".
// - A "*" before a "." stops at the name's last ".": "*.bib" matches
//   Plant.bib, never Plant.bibold.
// A file name is never empty; an empty one is matched by stars alone.
bool WildcardMatch(std::string_view pattern, std::string_view name);

}  // namespace platform
