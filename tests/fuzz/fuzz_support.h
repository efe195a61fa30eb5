// What the fuzzers share: breaking an invariant, and watching what an
// installation did to the whole in-memory machine.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "support/memory_file_system.h"

namespace fuzz {

// Prints which invariant broke and on what, then traps, so that libFuzzer
// keeps the input as a crash.
[[noreturn]] void Fail(const char* invariant, const std::string& detail);

// Every file and folder on drives A to Z by upper-cased full path, with the
// content of each file (nullopt for a folder).
using Snapshot = std::map<std::string, std::optional<std::string>>;
Snapshot TakeSnapshot(const platform::MemoryFileSystem& fs);

// The paths made, removed or changed between two snapshots.
std::vector<std::string> Changes(const Snapshot& before, const Snapshot& after);

// The upper-cased full path that `path` names once "/" is read as "\" and
// empty, "." and ".." parts are resolved ("c:\a\.\b\..\c" gives "C:\A\C", a
// drive root "C:"); nullopt when it names no place: no drive letter and ":"
// in front, or a part with a character Windows refuses in a name.
std::optional<std::string> Resolved(const std::string& path);

// Whether `path` is `folder` or lies below it; both as Resolved gives them.
bool IsUnder(const std::string& path, const std::string& folder);

}  // namespace fuzz
