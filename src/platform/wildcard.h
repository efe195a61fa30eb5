// Matching of Windows wildcard patterns against long file names.
#pragma once

#include <string_view>

namespace platform {

// "*" matches any run of characters, "?" exactly one, letters match
// regardless of case. As in a Windows folder search, a pattern ending in ".*"
// also matches names without any dot, so "*.*" matches every name.
bool WildcardMatch(std::string_view pattern, std::string_view name);

}  // namespace platform
